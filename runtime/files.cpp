#include "runtime/files.h"

#include <windows.h>

namespace runtime {
bool fileExists(const Text& path) {
  if (path.empty()) return false;
  WIN32_FIND_DATAA data;
  FindHandle search(FindFirstFileA(path.c_str(), &data));
  return static_cast<bool>(search);
}

bool deleteFile(const Text& path) {
  return DeleteFileA(path.c_str()) != FALSE;
}

bool writeFile(const Text& path, std::initializer_list<ByteView> parts) {
  if (path.empty()) return false;
  FileHandle file = createAlways(path.c_str(), GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL, true);
  if (!file) return false;
  for (const ByteView& part : parts) {
    if (part.empty()) continue;
    DWORD written = 0;
    if (!WriteFile(file.get(), part.data, static_cast<DWORD>(part.size), &written, nullptr) ||
        written != static_cast<DWORD>(part.size)) {
      file.reset();
      return false;
    }
  }
  return file.reset();
}

}  // namespace runtime
