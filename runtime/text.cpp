#include "runtime/text.h"

#include <windows.h>

#include <cstring>

namespace runtime {

int32_t textLength(const Text& text) {
  return static_cast<int32_t>(std::strlen(text.c_str()));
}

Text leftText(const Text& text, int32_t n) {
  if (n < 1) return Text();
  const int32_t length = textLength(text);
  return text.substr(0, static_cast<size_t>(n < length ? n : length));
}

Text rightText(const Text& text, int32_t n) {
  if (n < 1) return Text();
  const int32_t length = textLength(text);
  const int32_t take = n < length ? n : length;
  return text.substr(static_cast<size_t>(length - take), static_cast<size_t>(take));
}

int32_t compareText(const Text& a, const Text& b) {
  const int result = std::strcmp(a.c_str(), b.c_str());  // unsigned byte order
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

bool isLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) != FALSE;
}

size_t lastCharacterStart(const Text& text) {
  size_t last = text.size();
  for (size_t i = 0; i < text.size();) {
    last = i;
    i += (isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
  }
  return last;
}

size_t lastPathSeparator(const Text& text) {
  size_t found = Text::npos;
  for (size_t i = 0; i < text.size();) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    if (isLeadByte(byte) && i + 1 < text.size()) {
      i += 2;
      continue;
    }
    if (byte == '\\' || byte == '/') found = i;
    ++i;
  }
  return found;
}

}  // namespace runtime
