#include "runtime/handles.h"

namespace runtime {

FileHandle createAlways(const char* path, DWORD access, DWORD share, DWORD attributes, bool inheritable) {
  SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, inheritable ? TRUE : FALSE};
  return FileHandle(CreateFileA(path, access, share, inheritable ? &security : nullptr, CREATE_ALWAYS,
                                attributes, nullptr));
}

FileHandle openExisting(const char* path, DWORD access, DWORD share, DWORD flags) {
  return FileHandle(CreateFileA(path, access, share, nullptr, OPEN_EXISTING, flags, nullptr));
}

}  // namespace runtime
