#include "unzip/archive_extractor.h"

#include <windows.h>

#include <string>

#include "runtime/handles.h"
#include "runtime/path.h"
#include "unzip/entry_names.h"

namespace unzip {

void ArchiveExtractor::setProgressCallback(ProgressCallback callback) {
  reset();
  progressCallback_ = callback;
}

void ArchiveExtractor::reset() {
  cancelRequested_ = 0;
  totalEntries_ = 0;
  doneIndex_ = 0;
  progressCallback_ = nullptr;
}

void ArchiveExtractor::notifyProgress() {
  if (progressCallback_ == nullptr) return;
  progressCallback_(static_cast<uint32_t>(doneIndex_), static_cast<uint32_t>(totalEntries_), currentPath_.c_str(),
                    *this);
}

namespace {

// What walk gives when a progress callback cancelled the run.
constexpr int32_t kCancelled = 2;

// The path without its trailing backslash: the name of a file that stands where a folder
// was to be made.
runtime::Text withoutTrailingBackslash(runtime::Text path) {
  if (runtime::hasTrailingBackslash(path)) path.pop_back();
  return path;
}

// The first folder of path, below its root, where a file stands instead; empty when none does.
// CreateDirectoryW names no such file: it fails on it with ERROR_ALREADY_EXISTS, or below it
// with a missing path.
runtime::Text fileInTheWayOf(const runtime::Text& path) {
  runtime::Text p = path;
  runtime::ensureTrailingBackslash(p);
  for (size_t i = runtime::rootPrefixLength(p); i < p.size(); ++i) {
    if (p[i] != '\\') continue;
    const runtime::Text folder = p.substr(0, i);
    if (runtime::pathExists(folder) && !runtime::isFolder(folder)) return folder;
  }
  return runtime::Text();
}

}  // namespace

bool ArchiveExtractor::unpackEntry(ZipArchive& archive, const ZipEntry& entry, const runtime::Text& base,
                                   runtime::Text& path) {
  // A name that would leave base, or that Windows cannot make as it stands, is refused like
  // any other unusable entry.
  if (!entry.nameWellFormed || !isUsableEntryName(entry.name)) return damaged(false);
  runtime::Text name = entry.name;
  slashesToBackslashes(name);
  path = base + name;
  if (!runtime::fitsFilePath(path)) return systemFailure(false, ERROR_FILENAME_EXCED_RANGE, path);
  if ((entry.attributes & kDirectoryFlag) != 0) {
    // CreateDirectoryW refuses folder paths beyond the folder limit (Wine makes them): the
    // limit is held here.
    if (!runtime::fitsFolderPath(path)) return systemFailure(false, ERROR_FILENAME_EXCED_RANGE, path);
    return createFolder(path);
  }
  // A file entry named like a folder ("x/") can be no file.
  if (runtime::hasTrailingBackslash(name)) return damaged(false);
  // Written with normal attributes, so no attribute call is needed afterwards.
  if (archive.unzipEntry(entry.index, path, FILE_ATTRIBUTE_NORMAL) == ZipResult::Ok) return true;
  const DWORD error = archive.outputError();
  // The output file says ERROR_ALREADY_EXISTS only when a folder stands at its path.
  if (error == ERROR_ALREADY_EXISTS) return inTheWay(false, FailureCause::FolderInTheWay, error, path);
  return error != 0 ? systemFailure(false, error, path) : archiveFault(archive, false);
}

bool ArchiveExtractor::createFolder(const runtime::Text& path) {
  const std::wstring wide = runtime::toWide(path);
  // One call when all is well: CreateDirectoryW also says when something is there already.
  if (CreateDirectoryW(wide.c_str(), nullptr)) return true;
  DWORD error = GetLastError();
  // Its ERROR_ALREADY_EXISTS stands for a file of that name too, which blocks the folder;
  // the creation may also be refused where the folder exists. Only a folder will do. The
  // path is asked without its trailing backslash, which no file path takes.
  const runtime::Text named = withoutTrailingBackslash(path);
  const DWORD attributes = GetFileAttributesW(runtime::toWide(named).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return true;
    return inTheWay(false, FailureCause::FileInTheWay, error, named);
  }
  // A parent may be missing.
  if (createDirectoryPath(path, true, &error)) return true;
  return folderFailure(false, error, path);
}

template <class Result>
Result ArchiveExtractor::folderFailure(Result result, DWORD error, const runtime::Text& path) {
  const runtime::Text blocker = fileInTheWayOf(path);
  return blocker.empty() ? systemFailure(result, error, path)
                         : inTheWay(result, FailureCause::FileInTheWay, error, blocker);
}

int32_t ArchiveExtractor::extract(const char* archivePath, const char* targetFolder) {
  failure_ = ExtractionFailure{};
  std::unique_ptr<ZipArchive> archive;
  const int32_t result = walk(archivePath, targetFolder, archive);
  if (result == kCancelled) {  // no final notification, no reset
    archive->closeArchive();
    return 1;
  }
  doneIndex_ = totalEntries_;
  notifyProgress();
  reset();
  if (archive) archive->closeArchive();
  return result;
}

int32_t ArchiveExtractor::walk(const char* archivePath, const char* targetFolder,
                               std::unique_ptr<ZipArchive>& archive) {
  // An empty folder would become "\", the root of the current drive: refused like a
  // missing one.
  if (archivePath == nullptr || targetFolder == nullptr || targetFolder[0] == 0) {
    return systemFailure(-1, ERROR_INVALID_PARAMETER);
  }
  const runtime::Text folder = targetFolder;
  DWORD error = 0;
  if (!runtime::pathExists(archivePath, &error)) return systemFailure(-1, error);
  if (!runtime::isFolder(folder) && !createDirectoryPath(folder, true, &error)) {
    return folderFailure(0, error, folder);
  }
  if (!isZipFile(archivePath, &error)) return error != 0 ? systemFailure(0, error) : damaged(0);
  ZipResult why = ZipResult::Ok;
  archive = openArchive(archivePath, &why, &error);
  if (!archive) return why == ZipResult::CannotOpenFile ? systemFailure(0, error) : damaged(0);
  archive->setFrameService(frames_);
  // Should the session end under the extraction, the archive is closed, so that it can go.
  const runtime::UndoOnSessionEnd undo([](void* reader) { static_cast<ZipArchive*>(reader)->closeArchive(); },
                                       archive.get());
  if (progressCallback_ != nullptr) {
    totalEntries_ = countEntries(*archive);
    if (totalEntries_ == -1) {
      totalEntries_ = 0;
      return archive->stopped() ? kCancelled : archiveFault(*archive, 0);
    }
  }

  runtime::Text base = folder;
  runtime::ensureTrailingBackslash(base);
  for (int32_t index = 0;; ++index) {
    ZipEntry entry;
    if (archive->getEntry(index, entry) != ZipResult::Ok) {
      // Only the central directory's count ends the entries; a damaged one before it fails.
      return index < archive->entryCount() ? archiveFault(*archive, 0) : 1;
    }
    runtime::Text path;
    if (!unpackEntry(*archive, entry, base, path)) return archive->stopped() ? kCancelled : 0;
    doneIndex_ = index;
    currentPath_ = path;
    notifyProgress();
    if (cancelRequested_ != 0) return kCancelled;
    if (frames_ != nullptr && !frames_->serviceWhenDue()) return kCancelled;
  }
}

bool isZipFile(const runtime::Text& path, DWORD* error) {
  DWORD ignored = 0;
  DWORD& cause = error != nullptr ? *error : ignored;
  cause = 0;
  runtime::FileHandle file = runtime::openExisting(path, GENERIC_READ, FILE_SHARE_READ);
  if (!file) {
    cause = GetLastError();
    return false;
  }
  unsigned char block[32];
  DWORD got = 0;
  if (!ReadFile(file.get(), block, sizeof block, &got, nullptr)) {
    cause = GetLastError();
    return false;
  }
  if (got != sizeof block) return false;
  if (block[0] != 0x50 || block[1] != 0x4B || block[2] != 0x03 || block[3] != 0x04) return false;
  const uint32_t value = static_cast<uint32_t>(block[24]) | (static_cast<uint32_t>(block[25]) << 8) |
                         (static_cast<uint32_t>(block[26]) << 16) | (static_cast<uint32_t>(block[27]) << 24);
  return static_cast<int32_t>(value) >= 1;
}

int32_t countEntries(ZipArchive& archive) {
  return archive.countListedEntries();
}

bool createDirectoryPath(const runtime::Text& path, bool recursive, DWORD* error) {
  const auto failed = [error] {
    if (error != nullptr) *error = GetLastError();
    return false;
  };
  if (!recursive) return CreateDirectoryW(runtime::toWide(path).c_str(), nullptr) || failed();
  runtime::Text p = path;
  runtime::ensureTrailingBackslash(p);
  // A root ("D:\", "\\server\share\") is tested as a whole, never cut into.
  const size_t root = runtime::rootPrefixLength(p);
  for (size_t i = 0; i < p.size(); ++i) {
    if (p[i] != '\\' || i + 1 < root) continue;
    const runtime::Text prefix = p.substr(0, i + 1);
    if (runtime::pathExists(prefix)) continue;
    if (!runtime::fitsFolderPath(prefix)) {
      if (error != nullptr) *error = ERROR_FILENAME_EXCED_RANGE;
      return false;
    }
    if (!CreateDirectoryW(runtime::toWide(prefix).c_str(), nullptr)) return failed();
  }
  return true;
}

void slashesToBackslashes(runtime::Text& name) {
  for (char& c : name) {
    if (c == '/') c = '\\';
  }
}

}  // namespace unzip
