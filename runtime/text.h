// Text operations. A text is a GBK byte string; lengths, cuts and comparisons count bytes.
#pragma once

#include <cstdint>
#include <string>

namespace runtime {

using Text = std::string;

// Bytes before the first zero byte.
int32_t textLength(const Text& text);
// The first (last) min(n, length) bytes; n < 1 gives the empty text. A cut may split a
// two-byte character.
Text leftText(const Text& text, int32_t n);
Text rightText(const Text& text, int32_t n);
// Byte-wise unsigned comparison up to and including the terminating zero: -1, 0 or 1.
int32_t compareText(const Text& a, const Text& b);

inline void appendText(Text&) {}
template <class First, class... Rest>
void appendText(Text& out, const First& first, const Rest&... rest) {
  out += first;
  appendText(out, rest...);
}
// One new text holding all parts in order.
template <class... Parts>
Text joinText(const Parts&... parts) {
  Text out;
  appendText(out, parts...);
  return out;
}

}  // namespace runtime
