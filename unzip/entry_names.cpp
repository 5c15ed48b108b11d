#include "unzip/entry_names.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace unzip {

bool decodeEntryName(const char* stored, size_t length, uint32_t flags, runtime::Text& name) {
  name.clear();
  if (length == 0) return true;
  const UINT codePage = (flags & kUtf8NameFlag) != 0 ? CP_UTF8 : kLegacyNameCodePage;
  const int size = static_cast<int>(length);
  // MB_ERR_INVALID_CHARS: a byte sequence the code page does not map fails the call instead
  // of turning into U+FFFD or "?".
  const int units = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, stored, size, nullptr, 0);
  if (units <= 0) return false;
  std::wstring wide(static_cast<size_t>(units), L'\0');
  if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, stored, size, wide.data(), units) != units) return false;
  name = runtime::toUtf8(wide);
  return true;
}

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool onlyDotsAndSpaces(const char* begin, const char* end) {
  for (const char* p = begin; p < end; ++p) {
    if (*p != '.' && *p != ' ') return false;
  }
  return true;
}

// CON, PRN, AUX, NUL, COM1-COM9 and LPT1-LPT9 open devices whatever follows the first dot;
// Windows reads the superscript digits ¹ ² ³ as digits of COM and LPT names too.
bool isDeviceName(const char* begin, const char* end) {
  const char* stem = begin;
  while (stem < end && *stem != '.') ++stem;
  while (stem > begin && stem[-1] == ' ') --stem;
  std::string text;
  for (const char* p = begin; p < stem; ++p) text += lower(*p);
  if (text == "con" || text == "prn" || text == "aux" || text == "nul") return true;
  if (text.size() < 4 || (text.compare(0, 3, "com") != 0 && text.compare(0, 3, "lpt") != 0)) return false;
  const std::string digit = text.substr(3);
  return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "¹" || digit == "²" || digit == "³";
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

bool isUsableEntryName(const runtime::Text& name) {
  if (name.size() != std::strlen(name.c_str())) return false;  // a zero byte ends no name
  if (!name.empty() && (name[0] == '/' || name[0] == '\\')) return false;
  const char* component = name.c_str();
  for (const char* p = name.c_str();; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c == 0 || c == '/' || c == '\\') {
      if (isHostileComponent(component, p, c != 0)) return false;
      if (c == 0) return true;
      component = p + 1;
      continue;
    }
    if (c == ':' || isForbiddenCharacter(c)) return false;
  }
}

}  // namespace unzip
