#include "unzip/replacement_file.h"

#include <cstdio>

#include "runtime/path.h"

namespace unzip {

namespace {

// Spreads successive names over the 65536 candidates so that leftovers of other runs
// rarely collide.
unsigned nextCandidate() {
  static unsigned counter = (GetTickCount() ^ (GetCurrentProcessId() * 2654435761u)) & 0xFFFF;
  counter = (counter * 40503u + 1) & 0xFFFF;
  return counter;
}

}  // namespace

bool ReplacementFile::open(DWORD attributes) {
  discard();
  const size_t separator = runtime::lastPathSeparator(target_);
  const runtime::Text folder = separator == runtime::Text::npos ? runtime::Text() : target_.substr(0, separator + 1);
  for (int attempt = 0; attempt < 32; ++attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "~uz%04X", nextCandidate());
    runtime::Text candidate = folder + name;
    if (candidate.size() >= MAX_PATH) return false;
    // CREATE_NEW never takes over a file that is there already.
    HANDLE created = CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    if (runtime::FileHandle::isValid(created)) {
      file_.reset(created);
      temporary_ = std::move(candidate);
      return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

bool ReplacementFile::commit() {
  if (temporary_.empty()) return false;
  // Buffered data may fail to reach the disk only at closing.
  if (!file_.reset()) {
    discard();
    return false;
  }
  if (!MoveFileExA(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void ReplacementFile::discard() {
  file_.reset();
  if (temporary_.empty()) return;
  // A read-only file cannot be deleted.
  SetFileAttributesA(temporary_.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(temporary_.c_str());
  temporary_.clear();
}

}  // namespace unzip
