#include "runtime/path.h"

#include <windows.h>

#include "runtime/handles.h"

namespace runtime {

bool isLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) != FALSE;
}

size_t nextCharacter(const Text& text, size_t i) {
  return (isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? i + 2 : i + 1;
}

const char* nextCharacter(const char* p) {
  return (isLeadByte(static_cast<unsigned char>(*p)) && p[1] != 0) ? p + 2 : p + 1;
}

bool isWellFormedText(const char* text) {
  return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0) != 0;
}

size_t lastCharacterStart(const Text& text) {
  size_t last = text.size();
  for (size_t i = 0; i < text.size(); i = nextCharacter(text, i)) last = i;
  return last;
}

bool isPathSeparator(char c) {
  return c == '\\' || c == '/';
}

size_t lastPathSeparator(const Text& text) {
  size_t found = Text::npos;
  for (size_t i = 0; i < text.size(); i = nextCharacter(text, i)) {
    if (isPathSeparator(text[i])) found = i;  // never a lead byte
  }
  return found;
}

bool hasTrailingBackslash(const Text& text) {
  const size_t last = lastCharacterStart(text);
  return last + 1 == text.size() && text[last] == '\\';
}

void ensureTrailingBackslash(Text& text) {
  if (!hasTrailingBackslash(text)) text += '\\';
}

size_t rootPrefixLength(const Text& path) {
  if (path.size() >= 2 && isPathSeparator(path[0]) && isPathSeparator(path[1])) {
    int separators = 0;
    for (size_t i = 0; i < path.size(); i = nextCharacter(path, i)) {
      if (isPathSeparator(path[i]) && ++separators == 4) return i + 1;
    }
    return path.size();
  }
  if (!path.empty() && isPathSeparator(path[0])) return 1;
  // ":" is never a trail byte, so a second byte ":" always follows a drive letter.
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
  if (!path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  if (error != nullptr) *error = path.empty() ? ERROR_INVALID_NAME : GetLastError();
  return false;
}

bool fileExists(const Text& path) {
  if (path.empty()) return false;
  WIN32_FIND_DATAA data;
  FindHandle search(FindFirstFileA(path.c_str(), &data));
  return static_cast<bool>(search);
}

}  // namespace runtime
