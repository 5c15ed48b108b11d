#include "installer/two_listing_search.h"

#include "installer/globals.h"
#include "runtime/events.h"
#include "runtime/files.h"

namespace installer {

void searchFolderTwoListings(const runtime::Text& folderGiven, const runtime::Text& name) {
  runtime::Text folder = folderGiven;
  if (runtime::rightText(folder, 1) != "\\") folder += "\\";
  runtime::SearchHandle search;
  for (runtime::Text entry = runtime::findFile(folder + name, 0, true, search); !entry.empty();
       entry = runtime::findFile("", 0, true, search)) {
    gameExePath = folder + entry;
  }
  for (runtime::Text entry = runtime::findFile(folder + "*.*", 16, false, search); !entry.empty();
       entry = runtime::findFile("", 16, false, search)) {
    if (runtime::compareText(entry, ".") != 0 && runtime::compareText(entry, "..") != 0) {
      searchFolderTwoListings(folder + entry, name);
      runtime::processEvents();
    }
  }
  runtime::closeFind(search);
}

}  // namespace installer
