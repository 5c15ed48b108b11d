// Owners of kernel handles: uncopyable, closed in the destructor, and empty for both NULL and
// INVALID_HANDLE_VALUE (CreateFile and FindFirstFile fail with the latter, most others with
// the former).
#pragma once

#include <windows.h>

#include <utility>

#include "runtime/text.h"

namespace runtime {

template <class Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(isValid(handle) ? handle : nullptr) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  static bool isValid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return handle_ != nullptr; }
  HANDLE get() const { return handle_; }
  HANDLE release() { return std::exchange(handle_, nullptr); }
  // Closes the handle held now; true when there was none or closing succeeded.
  bool reset(HANDLE handle = nullptr) {
    HANDLE old = std::exchange(handle_, isValid(handle) ? handle : nullptr);
    return old == nullptr || Traits::close(old);
  }

 private:
  HANDLE handle_ = nullptr;
};

struct KernelHandleTraits {
  static bool close(HANDLE handle) { return CloseHandle(handle) != FALSE; }
};
struct FindHandleTraits {
  static bool close(HANDLE handle) { return FindClose(handle) != FALSE; }
};

using FileHandle = UniqueHandle<KernelHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;

// Opens named by intent, each for a UTF-8 path and for a UTF-16 one (CreateFileW).
// A new or truncated file; attributes apply only when the file is created or replaced.
FileHandle createAlways(const wchar_t* path, DWORD access, DWORD share, DWORD attributes,
                        bool inheritable = false);
FileHandle createAlways(const Text& path, DWORD access, DWORD share, DWORD attributes,
                        bool inheritable = false);
// A file that must exist already.
FileHandle openExisting(const wchar_t* path, DWORD access, DWORD share, DWORD flags = FILE_ATTRIBUTE_NORMAL);
FileHandle openExisting(const Text& path, DWORD access, DWORD share, DWORD flags = FILE_ATTRIBUTE_NORMAL);

}  // namespace runtime
