#include "runtime/files.h"

#include <windows.h>

namespace runtime {
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

bool deleteFile(const Text& path) {
  return DeleteFileA(path.c_str()) != FALSE;
}

bool writeFile(const Text& path, std::initializer_list<ByteView> parts, DWORD* error) {
  const auto failed = [error](DWORD code) {
    if (error != nullptr) *error = code;
    return false;
  };
  if (path.empty()) return failed(ERROR_INVALID_NAME);
  FileHandle file = createAlways(path.c_str(), GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL, true);
  if (!file) return failed(GetLastError());
  for (const ByteView& part : parts) {
    if (part.empty()) continue;
    DWORD written = 0;
    if (!WriteFile(file.get(), part.data, static_cast<DWORD>(part.size), &written, nullptr)) {
      return failed(GetLastError());
    }
    if (written != static_cast<DWORD>(part.size)) return failed(ERROR_WRITE_FAULT);
  }
  return file.reset() || failed(GetLastError());
}

Text findFile(const Text& pattern, int32_t mask, bool maskOmitted, SearchHandle& search) {
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
    if (passesFilter(data.dwFileAttributes, mask, maskOmitted)) return Text(data.cFileName);
    found = FindNextFileA(search.get(), &data) != FALSE;
  }
  search.reset();
  return Text();
}

void closeFind(SearchHandle& search) {
  search.reset();
}

}  // namespace runtime
