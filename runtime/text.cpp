#include "runtime/text.h"

#include <windows.h>

#include <cstring>

namespace runtime {

std::wstring toWide(std::string_view utf8) {
  if (utf8.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), length);
  return out;
}

Text toUtf8(std::wstring_view utf16) {
  if (utf16.empty()) return Text();
  const int length = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0,
                                         nullptr, nullptr);
  Text out(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), length, nullptr, nullptr);
  return out;
}

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
