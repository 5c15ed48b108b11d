#include "unzip/entry_names.h"

#include <cstring>

#include "runtime/path.h"

namespace unzip {

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool onlyDotsAndSpaces(const char* begin, const char* end) {
  for (const char* p = begin; p < end; ++p) {
    if (*p != '.' && *p != ' ') return false;
  }
  return true;
}

// CON, PRN, AUX, NUL, COM1-COM9 and LPT1-LPT9 open devices whatever follows the first dot.
bool isDeviceName(const char* begin, const char* end) {
  const char* stem = begin;
  while (stem < end && *stem != '.') ++stem;
  while (stem > begin && stem[-1] == ' ') --stem;
  const size_t length = static_cast<size_t>(stem - begin);
  char text[5] = {};
  if (length != 3 && length != 4) return false;
  for (size_t i = 0; i < length; ++i) text[i] = lower(begin[i]);
  if (length == 3) {
    return std::strcmp(text, "con") == 0 || std::strcmp(text, "prn") == 0 || std::strcmp(text, "aux") == 0 ||
           std::strcmp(text, "nul") == 0;
  }
  return (std::strncmp(text, "com", 3) == 0 || std::strncmp(text, "lpt", 3) == 0) && text[3] >= '1' &&
         text[3] <= '9';
}

// folder: a separator follows the component.
bool isHostileComponent(const char* begin, const char* end, bool folder) {
  if (begin == end) return false;  // "a//b": Windows joins the two separators
  if (end - begin == 1 && *begin == '.') return false;
  if (folder && (end[-1] == '.' || end[-1] == ' ')) return true;
  return onlyDotsAndSpaces(begin, end) || isDeviceName(begin, end);
}

// Characters that no Windows name may hold (":" is refused on its own, "/" and "\" separate).
bool isForbiddenCharacter(unsigned char c) {
  return c < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*';
}

}  // namespace

bool isUsableEntryName(const char* name) {
  if (name == nullptr || !runtime::isWellFormedText(name)) return false;
  if (name[0] == '/' || name[0] == '\\') return false;
  const char* component = name;
  const char* p = name;
  while (true) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c == 0 || c == '/' || c == '\\') {
      if (isHostileComponent(component, p, c != 0)) return false;
      if (c == 0) return true;
      component = p + 1;
      ++p;
      continue;
    }
    if (c == ':' || isForbiddenCharacter(c)) return false;
    // A lead byte takes its trail byte with it (the text is well formed), so a trail byte
    // 0x5C or 0x7C is no separator and no "|", as Windows reads it.
    p = runtime::nextCharacter(p);
  }
}

}  // namespace unzip
