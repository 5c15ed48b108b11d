// Text operations. A text is a UTF-8 byte string; lengths, cuts and comparisons count bytes.
// The program holds every text in UTF-8 and meets the system only through its W (UTF-16)
// functions; toWide and toUtf8 are the one pair of conversions between the two, used at the
// Win32 call.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace runtime {

using Text = std::string;

// UTF-8 to UTF-16 for a W function. A malformed sequence becomes U+FFFD (never a valid path
// character of another name), so a damaged text cannot name a different file.
std::wstring toWide(std::string_view utf8);
// UTF-16 from a W function to UTF-8. An unpaired surrogate becomes U+FFFD.
Text toUtf8(std::wstring_view utf16);

// Bytes before the first zero byte.
int32_t textLength(const Text& text);
// The first (last) min(n, length) bytes; n < 1 gives the empty text. A cut may split a
// multi-byte character.
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
