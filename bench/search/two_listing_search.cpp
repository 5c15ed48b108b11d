#include "bench/search/two_listing_search.h"

#include "bench/search/find_file.h"
#include "installer/globals.h"
#include "runtime/events.h"
#include "runtime/path.h"

namespace searchbench {

void searchFolderTwoListings(const runtime::Text& folderGiven, const runtime::Text& name) {
  runtime::Text folder = folderGiven;
  runtime::ensureTrailingBackslash(folder);
  SearchHandle search;
  for (runtime::Text entry = findFile(folder + name, 0, true, search); !entry.empty();
       entry = findFile("", 0, true, search)) {
    installer::gameExePath = folder + entry;
  }
  for (runtime::Text entry = findFile(folder + "*.*", 16, false, search); !entry.empty();
       entry = findFile("", 16, false, search)) {
    if (runtime::compareText(entry, ".") != 0 && runtime::compareText(entry, "..") != 0) {
      searchFolderTwoListings(folder + entry, name);
      runtime::processEvents();
    }
  }
  closeFind(search);
}

}  // namespace searchbench
