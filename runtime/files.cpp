#include "runtime/files.h"

#include <windows.h>

namespace runtime {

bool deleteFile(const Text& path) {
  return !path.empty() && DeleteFileW(toWide(path).c_str()) != FALSE;
}

bool writeFile(const Text& path, std::initializer_list<ByteView> parts, DWORD* error, FrameService* frames) {
  const auto failed = [error](DWORD code) {
    if (error != nullptr) *error = code;
    return false;
  };
  if (path.empty()) return failed(ERROR_INVALID_NAME);
  FileHandle file = createAlways(path, GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL, true);
  if (!file) return failed(GetLastError());
  // A session that ends while the window is serviced between the pieces leaves no partly
  // written file.
  struct Partial {
    FileHandle& file;
    const Text& path;
  } partial{file, path};
  const UndoOnSessionEnd undo(
      [](void* context) {
        Partial& p = *static_cast<Partial*>(context);
        p.file.reset();
        DeleteFileW(toWide(p.path).c_str());
      },
      &partial);
  for (const ByteView& part : parts) {
    const size_t total = part.empty() ? 0 : static_cast<size_t>(part.size);
    const size_t pieceBytes = frames != nullptr ? kWritePieceBytes : total;
    for (size_t at = 0; at < total; at += pieceBytes) {
      const DWORD size = static_cast<DWORD>(total - at < pieceBytes ? total - at : pieceBytes);
      DWORD written = 0;
      if (!WriteFile(file.get(), part.data + at, size, &written, nullptr)) return failed(GetLastError());
      if (written != size) return failed(ERROR_WRITE_FAULT);
      if (frames != nullptr && !frames->serviceWhenDue()) return failed(ERROR_CANCELLED);
    }
  }
  return file.reset() || failed(GetLastError());
}

}  // namespace runtime
