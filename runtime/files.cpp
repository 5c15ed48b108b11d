#include "runtime/files.h"

#include <windows.h>

namespace runtime {

bool deleteFile(const Text& path) {
  return DeleteFileA(path.c_str()) != FALSE;
}

bool writeFile(const Text& path, std::initializer_list<ByteView> parts, DWORD* error) {
  const auto failed = [error](DWORD code) {
    if (error != nullptr) *error = code;
    return false;
  };
  if (path.empty()) return failed(ERROR_INVALID_NAME);
  FileHandle file = createAlways(path.c_str(), GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL, true);
  if (!file) return failed(GetLastError());
  for (const ByteView& part : parts) {
    if (part.empty()) continue;
    DWORD written = 0;
    if (!WriteFile(file.get(), part.data, static_cast<DWORD>(part.size), &written, nullptr)) {
      return failed(GetLastError());
    }
    if (written != static_cast<DWORD>(part.size)) return failed(ERROR_WRITE_FAULT);
  }
  return file.reset() || failed(GetLastError());
}

}  // namespace runtime
