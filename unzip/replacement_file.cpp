#include "unzip/replacement_file.h"

#include <cstdio>
#include <string>

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
// it with ERROR_FILE_EXISTS. GENERIC_WRITE includes FILE_WRITE_ATTRIBUTES, which
// setBasicInfo needs.
HANDLE createNew(const runtime::Text& path, DWORD attributes) {
  return CreateFileW(runtime::toWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
}

// The attributes as FileBasicInfo takes them: FILE_ATTRIBUTE_NORMAL is valid only alone, and
// a file carries no directory flag.
DWORD fileAttributes(DWORD attributes) {
  const DWORD bits = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY);
  return bits != 0 ? bits : FILE_ATTRIBUTE_NORMAL;
}

LARGE_INTEGER timeValue(const FILETIME* time) {
  LARGE_INTEGER value{};  // 0: the file system keeps that time as it is
  if (time != nullptr) {
    value.LowPart = time->dwLowDateTime;
    value.HighPart = static_cast<LONG>(time->dwHighDateTime);
  }
  return value;
}

// The three times (null ones stay as they are) and the attributes in one call. Its failure
// is not looked at: a handle that is no disk file keeps neither.
void setBasicInfo(HANDLE file, const FILETIME* creation, const FILETIME* access, const FILETIME* write,
                  DWORD attributes) {
  FILE_BASIC_INFO info{};
  info.CreationTime = timeValue(creation);
  info.LastAccessTime = timeValue(access);
  info.LastWriteTime = timeValue(write);
  info.FileAttributes = fileAttributes(attributes);
  SetFileInformationByHandle(file, FileBasicInfo, &info, sizeof info);
}

// Whether another program holds path open: an open for DELETE that shares nothing meets a
// sharing violation with any handle open for its data, whatever that handle shares; a
// missing permission answers ERROR_ACCESS_DENIED.
bool heldOpenElsewhere(const runtime::Text& path) {
  const runtime::FileHandle probe = runtime::openExisting(path, DELETE, 0);
  return !probe && GetLastError() == ERROR_SHARING_VIOLATION;
}

// The attributes SetFileAttributesW can give back.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

}  // namespace

bool ReplacementFile::fail(DWORD error) {
  error_ = error;
  discard();
  return false;
}

bool ReplacementFile::open(DWORD attributes) {
  discard();
  attributes_ = attributes;
  if (!runtime::fitsFilePath(target_)) return fail(ERROR_FILENAME_EXCED_RANGE);
  HANDLE created = createNew(target_, attributes);
  if (runtime::FileHandle::isValid(created)) {
    file_.reset(created);
    owned_ = true;
    return true;
  }
  const DWORD error = GetLastError();
  if (!alreadyThere(error)) return fail(error);
  // A folder of the target's name can never be replaced by the file.
  if (runtime::isFolder(target_)) return fail(ERROR_ALREADY_EXISTS);
  return openTemporary(attributes);
}

bool ReplacementFile::openTemporary(DWORD attributes) {
  const size_t separator = runtime::lastPathSeparator(target_);
  const runtime::Text folder = separator == runtime::Text::npos ? runtime::Text() : target_.substr(0, separator + 1);
  for (int attempt = 0; attempt < 32; ++attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "~uz%04X", nextCandidate());
    runtime::Text candidate = folder + name;
    if (!runtime::fitsFilePath(candidate)) return fail(ERROR_FILENAME_EXCED_RANGE);
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
  setBasicInfo(file_.get(), creation, access, write, attributes_);
  // Buffered data may fail to reach the disk only at closing.
  if (!file_.reset()) return fail(GetLastError());
  if (temporary_.empty()) {
    owned_ = false;
    return true;
  }

  const DWORD moveError = moveOverTarget();
  if (moveError != 0) return fail(moveError);
  owned_ = false;
  temporary_.clear();
  // A file that takes the name of one just replaced may take that file's creation time
  // (name tunnelling on NTFS), so it is set once more on the target, with the same
  // attributes. Should that open fail, the data are in place and keep the entry's write and
  // access times and the attributes set above.
  if (creation != nullptr) {
    runtime::FileHandle target = runtime::openExisting(target_, FILE_WRITE_ATTRIBUTES,
                                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (target) setBasicInfo(target.get(), creation, nullptr, nullptr, attributes_);
  }
  return true;
}

DWORD ReplacementFile::moveOverTarget() {
  const std::wstring from = runtime::toWide(temporary_);
  const std::wstring to = runtime::toWide(target_);
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return 0;
  DWORD error = GetLastError();
  if (error != ERROR_ACCESS_DENIED) return error;
  // A folder that took the target's name since open: no probe below can tell it from a file.
  if (runtime::isFolder(target_)) return ERROR_ALREADY_EXISTS;
  // Windows refuses to replace a read-only target (observed under Wine: it replaces it). Its
  // bit is cleared for a second attempt only, and given back should that fail too, so that
  // a failed replacement leaves the old file exactly as it was.
  const DWORD old = GetFileAttributesW(to.c_str());
  if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_DIRECTORY) == 0 && (old & FILE_ATTRIBUTE_READONLY) != 0) {
    const DWORD kept = old & kSettableAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (SetFileAttributesW(to.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL)) {
      if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return 0;
      error = GetLastError();
      SetFileAttributesW(to.c_str(), old & kSettableAttributes);
      if (error != ERROR_ACCESS_DENIED) return error;
    }
  }
  // A target held open without delete sharing (a running game's asset) fails the move with
  // ERROR_ACCESS_DENIED as well: that is no missing permission.
  return heldOpenElsewhere(target_) ? ERROR_SHARING_VIOLATION : ERROR_ACCESS_DENIED;
}

void ReplacementFile::discard() {
  file_.reset();
  if (owned_) {
    const std::wstring created = runtime::toWide(temporary_.empty() ? target_ : temporary_);
    // A read-only file cannot be deleted.
    if (!DeleteFileW(created.c_str())) {
      SetFileAttributesW(created.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(created.c_str());
    }
  }
  owned_ = false;
  temporary_.clear();
}

}  // namespace unzip
