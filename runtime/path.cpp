#include "runtime/path.h"

#include <windows.h>

#include "runtime/handles.h"

namespace runtime {

bool isPathSeparator(char c) {
  return c == '\\' || c == '/';
}

size_t lastPathSeparator(const Text& text) {
  return text.find_last_of("\\/");
}

bool hasTrailingBackslash(const Text& text) {
  return !text.empty() && text.back() == '\\';
}

void ensureTrailingBackslash(Text& text) {
  if (!hasTrailingBackslash(text)) text += '\\';
}

size_t rootPrefixLength(const Text& path) {
  if (path.size() >= 2 && isPathSeparator(path[0]) && isPathSeparator(path[1])) {
    int separators = 0;
    for (size_t i = 0; i < path.size(); ++i) {
      if (isPathSeparator(path[i]) && ++separators == 4) return i + 1;
    }
    return path.size();
  }
  if (!path.empty() && isPathSeparator(path[0])) return 1;
  if (path.size() >= 2 && path[1] == ':') return (path.size() >= 3 && isPathSeparator(path[2])) ? 3 : 2;
  return 0;
}

size_t pathUnits(const Text& path) {
  return toWide(path).size();
}

bool fitsFilePath(const Text& path) {
  return pathUnits(path) < kFilePathLimit;
}

bool fitsFolderPath(const Text& path) {
  return pathUnits(path) < kFolderPathLimit;
}

bool pathExists(const Text& path, DWORD* error) {
  if (!path.empty() && GetFileAttributesW(toWide(path).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  if (error != nullptr) *error = path.empty() ? ERROR_INVALID_NAME : GetLastError();
  return false;
}

bool isFolder(const Text& path) {
  const DWORD attributes = GetFileAttributesW(toWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool fileExists(const Text& path) {
  if (path.empty()) return false;
  WIN32_FIND_DATAW data;
  FindHandle search(FindFirstFileW(toWide(path).c_str(), &data));
  return static_cast<bool>(search);
}

}  // namespace runtime
