#include "unzip/archive_extractor.h"

#include <windows.h>

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

// Creates the folder or writes the file of one entry below base; path receives the output
// path. False when the name would leave base or the entry cannot be unpacked.
bool unpackEntry(ZipArchive& archive, const ZipEntry& entry, const runtime::Text& base, runtime::Text& path) {
  if (!isConfinedEntryName(entry.name)) return false;
  runtime::Text name = entry.name;
  slashesToBackslashes(name);
  path = base + name;
  if (path.size() >= MAX_PATH) return false;
  if ((entry.attributes & kDirectoryFlag) != 0) return runtime::pathExists(path) || createDirectoryPath(path, true);
  // Failure ignored: there may be no file yet.
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (archive.unzipEntry(entry.index, path) != ZipResult::Ok) return false;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return true;
}

}  // namespace

int32_t ArchiveExtractor::extract(const char* archivePath, const char* targetFolder) {
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
  if (archivePath == nullptr || targetFolder == nullptr || targetFolder[0] == 0) return -1;
  const runtime::Text folder = targetFolder;
  if (!runtime::pathExists(archivePath)) return -1;
  if (!runtime::pathExists(folder) && !createDirectoryPath(folder, true)) return 0;
  if (!isZipFile(archivePath)) return 0;
  archive = openArchive(archivePath);
  if (!archive) return 0;
  if (progressCallback_ != nullptr) {
    totalEntries_ = countEntries(*archive);
    if (totalEntries_ == -1) {
      totalEntries_ = 0;
      return 0;
    }
  }

  runtime::Text base = folder;
  runtime::ensureTrailingBackslash(base);
  for (int32_t index = 0;; ++index) {
    ZipEntry entry;
    if (archive->getEntry(index, entry) != ZipResult::Ok) {
      // Only the central directory's count ends the entries; a damaged one before it fails.
      return index < archive->entryCount() ? 0 : 1;
    }
    runtime::Text path;
    if (!unpackEntry(*archive, entry, base, path)) return 0;
    doneIndex_ = index;
    currentPath_ = path;
    notifyProgress();
    if (cancelRequested_ != 0) return kCancelled;
  }
}

bool isZipFile(const runtime::Text& path) {
  runtime::FileHandle file = runtime::openExisting(path.c_str(), GENERIC_READ, FILE_SHARE_READ);
  if (!file) return false;
  unsigned char block[32];
  DWORD got = 0;
  if (!ReadFile(file.get(), block, sizeof block, &got, nullptr) || got != sizeof block) return false;
  if (block[0] != 0x50 || block[1] != 0x4B || block[2] != 0x03 || block[3] != 0x04) return false;
  const uint32_t value = static_cast<uint32_t>(block[24]) | (static_cast<uint32_t>(block[25]) << 8) |
                         (static_cast<uint32_t>(block[26]) << 16) | (static_cast<uint32_t>(block[27]) << 24);
  return static_cast<int32_t>(value) >= 1;
}

int32_t countEntries(ZipArchive& archive) {
  int32_t count = 0;
  ZipEntry entry;
  while (archive.getEntry(count, entry) == ZipResult::Ok) ++count;
  return count == archive.entryCount() ? count : -1;
}

bool createDirectoryPath(const runtime::Text& path, bool recursive) {
  if (!recursive) return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
  runtime::Text p = path;
  runtime::ensureTrailingBackslash(p);
  // A root ("D:\", "\\server\share\") is tested as a whole, never cut into.
  const size_t root = runtime::rootPrefixLength(p);
  for (size_t i = 0; i < p.size(); i = runtime::nextCharacter(p, i)) {
    if (p[i] != '\\' || i + 1 < root) continue;
    const runtime::Text prefix = p.substr(0, i + 1);
    if (!runtime::pathExists(prefix) && !CreateDirectoryA(prefix.c_str(), nullptr)) return false;
  }
  return true;
}

void slashesToBackslashes(runtime::Text& name) {
  for (char& c : name) {
    if (c == '/') c = '\\';
  }
}

}  // namespace unzip
