#include "installer/game_search.h"

#include <vector>

#include "installer/globals.h"
#include "installer/procedures.h"
#include "installer/run_state.h"
#include "runtime/bytes.h"
#include "runtime/events.h"
#include "runtime/handles.h"
#include "runtime/system_functions.h"

namespace installer {
namespace {

bool isDotEntry(const char* name) {
  return (name[0] == '.' && name[1] == '\0') || (name[0] == '.' && name[1] == '.' && name[2] == '\0');
}

// One listing of a folder: the names of its matching files and of its sub-folders, each in
// the order the file system lists them.
struct FolderListing {
  std::vector<runtime::Text> matches;
  std::vector<runtime::Text> subfolders;
};

FolderListing listFolder(const runtime::Text& folder, const runtime::Text& name) {
  FolderListing listing;
  WIN32_FIND_DATAA entry;
  // The basic level leaves out the short names; large fetches ask for bigger batches.
  runtime::FindHandle search(FindFirstFileExA((folder + "*").c_str(), FindExInfoBasic, &entry,
                                              FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!search) return listing;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!isDotEntry(entry.cFileName) && !isFolderLink(entry)) listing.subfolders.emplace_back(entry.cFileName);
    } else if (sameNameIgnoringAsciiCase(entry.cFileName, name.c_str())) {
      listing.matches.emplace_back(entry.cFileName);
    }
  } while (FindNextFileA(search.get(), &entry));
  return listing;
}

}  // namespace

bool sameNameIgnoringAsciiCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a);
    unsigned char y = static_cast<unsigned char>(*b);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
    if (x == '\0') return true;
  }
}

bool isFolderLink(const WIN32_FIND_DATAA& entry) {
  if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  // For a reparse point, dwReserved0 holds its tag. Tag 0 is reserved and never names a real
  // reparse point; Wine reports its symbolic links with it, so it counts as a link too.
  const DWORD tag = entry.dwReserved0;
  return tag == IO_REPARSE_TAG_MOUNT_POINT || tag == IO_REPARSE_TAG_SYMLINK || tag == 0;
}

void searchFolder(const runtime::Text& folderGiven, const runtime::Text& name) {
  runtime::Text folder = folderGiven;
  if (runtime::rightText(folder, 1) != "\\") folder += "\\";
  const FolderListing listing = listFolder(folder, name);
  for (const runtime::Text& match : listing.matches) gameExePath = folder + match;
  for (const runtime::Text& subfolder : listing.subfolders) {
    searchFolder(folder + subfolder, name);
    runtime::processEvents();
    if (runAbandoned()) return;
  }
}

void findGameOnAllDrives() {
  gameExePath.clear();
  runtime::ByteSet buffer = runtime::blankBytes(255);
  const DWORD count = runtime::getLogicalDriveStrings(255, reinterpret_cast<char*>(buffer.mutableData()));
  buffer = runtime::leftBytes(buffer.view(), static_cast<int32_t>(count));
  const runtime::ByteList drives = runtime::splitBytes(buffer.view());
  for (int32_t i = 1; i <= drives.count(); ++i) {
    searchFolder(runtime::toText(drives.piece(i)), kGameExeName);
    if (runAbandoned()) return;
  }
}

}  // namespace installer
