#include "bench/search/find_file.h"

#include <windows.h>

namespace searchbench {
namespace {

// The attribute bits an enumeration filter looks at: read-only, hidden, system, folder,
// archive.
constexpr DWORD kFilterBits = 0x37;

bool passesFilter(DWORD attributes, int32_t mask, bool maskOmitted) {
  if (maskOmitted) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  const DWORD reduced = static_cast<DWORD>(mask) & kFilterBits;
  if (reduced == 0) return attributes == 0;
  return (attributes & reduced) != 0;
}

}  // namespace

runtime::Text findFile(const runtime::Text& pattern, int32_t mask, bool maskOmitted, SearchHandle& search) {
  WIN32_FIND_DATAA data;
  bool found = false;
  if (!pattern.empty()) {
    search.reset();
    search.reset(FindFirstFileA(pattern.c_str(), &data));
    found = static_cast<bool>(search);
  } else if (search) {
    found = FindNextFileA(search.get(), &data) != FALSE;
  }
  while (found) {
    if (passesFilter(data.dwFileAttributes, mask, maskOmitted)) return runtime::Text(data.cFileName);
    found = FindNextFileA(search.get(), &data) != FALSE;
  }
  search.reset();
  return runtime::Text();
}

void closeFind(SearchHandle& search) {
  search.reset();
}

}  // namespace searchbench
