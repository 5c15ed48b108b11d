#include "runtime/handles.h"

namespace runtime {

FileHandle createAlways(const wchar_t* path, DWORD access, DWORD share, DWORD attributes, bool inheritable) {
  SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, inheritable ? TRUE : FALSE};
  return FileHandle(CreateFileW(path, access, share, inheritable ? &security : nullptr, CREATE_ALWAYS,
                                attributes, nullptr));
}

FileHandle createAlways(const Text& path, DWORD access, DWORD share, DWORD attributes, bool inheritable) {
  return createAlways(toWide(path).c_str(), access, share, attributes, inheritable);
}

FileHandle openExisting(const wchar_t* path, DWORD access, DWORD share, DWORD flags) {
  return FileHandle(CreateFileW(path, access, share, nullptr, OPEN_EXISTING, flags, nullptr));
}

FileHandle openExisting(const Text& path, DWORD access, DWORD share, DWORD flags) {
  return openExisting(toWide(path).c_str(), access, share, flags);
}

}  // namespace runtime
