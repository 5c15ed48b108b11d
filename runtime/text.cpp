#include "runtime/text.h"

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

}  // namespace runtime
