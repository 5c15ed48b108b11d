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

bool alreadyThere(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

// CREATE_NEW never takes over what is there already: a file or a folder of that name fails
// it with ERROR_FILE_EXISTS.
HANDLE createNew(const runtime::Text& path, DWORD attributes) {
  return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
}

}  // namespace

bool ReplacementFile::fail(DWORD error) {
  error_ = error;
  discard();
  return false;
}

bool ReplacementFile::open(DWORD attributes) {
  discard();
  if (target_.size() >= MAX_PATH) return fail(ERROR_FILENAME_EXCED_RANGE);
  HANDLE created = createNew(target_, attributes);
  if (runtime::FileHandle::isValid(created)) {
    file_.reset(created);
    owned_ = true;
    return true;
  }
  const DWORD error = GetLastError();
  if (!alreadyThere(error)) return fail(error);
  return openTemporary(attributes);
}

bool ReplacementFile::openTemporary(DWORD attributes) {
  const size_t separator = runtime::lastPathSeparator(target_);
  const runtime::Text folder = separator == runtime::Text::npos ? runtime::Text() : target_.substr(0, separator + 1);
  for (int attempt = 0; attempt < 32; ++attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "~uz%04X", nextCandidate());
    runtime::Text candidate = folder + name;
    if (candidate.size() >= MAX_PATH) return fail(ERROR_FILENAME_EXCED_RANGE);
    HANDLE created = createNew(candidate, attributes);
    if (runtime::FileHandle::isValid(created)) {
      file_.reset(created);
      temporary_ = std::move(candidate);
      owned_ = true;
      return true;
    }
    const DWORD error = GetLastError();
    if (!alreadyThere(error)) return fail(error);
  }
  return fail(ERROR_FILE_EXISTS);
}

bool ReplacementFile::commit(const FILETIME* creation, const FILETIME* access, const FILETIME* write) {
  if (!owned_) return false;
  // Its failure is not looked at: a handle that is no disk file keeps no times.
  SetFileTime(file_.get(), creation, access, write);
  // Buffered data may fail to reach the disk only at closing.
  if (!file_.reset()) return fail(GetLastError());
  if (temporary_.empty()) {
    owned_ = false;
    return true;
  }

  // Observed under Wine: MoveFileEx replaces a read-only target; Windows refuses it
  // (ERROR_ACCESS_DENIED).
  SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!MoveFileExA(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING)) return fail(GetLastError());
  owned_ = false;
  temporary_.clear();
  // A file that takes the name of one just replaced may take that file's creation time
  // (name tunnelling on NTFS), so it is set once more on the target. Should that open fail,
  // the data are in place and keep the entry's write and access times set above.
  if (creation != nullptr) {
    runtime::FileHandle target = runtime::openExisting(
        target_.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (target) SetFileTime(target.get(), creation, nullptr, nullptr);
  }
  return true;
}

void ReplacementFile::discard() {
  file_.reset();
  if (owned_) {
    const runtime::Text& created = temporary_.empty() ? target_ : temporary_;
    // A read-only file cannot be deleted.
    if (!DeleteFileA(created.c_str())) {
      SetFileAttributesA(created.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(created.c_str());
    }
  }
  owned_ = false;
  temporary_.clear();
}

}  // namespace unzip
