#include "unzip/zip_archive.h"

#include <cstring>
#include <vector>

#include <unzip.h>

#include "runtime/handles.h"
#include "runtime/path.h"
#include "unzip/archive_file.h"
#include "unzip/entry_names.h"
#include "unzip/entry_times.h"
#include "unzip/replacement_file.h"

namespace unzip {

namespace {

constexpr unsigned kBufferSize = 16384;
constexpr uLong kEncryptedFlag = 0x0001;

unzFile reader(void* handle) { return static_cast<unzFile>(handle); }

}  // namespace

std::unique_ptr<ZipArchive> openArchive(const runtime::Text& path, ZipResult* why, DWORD* openError) {
  std::unique_ptr<ZipArchive> archive(new ZipArchive());

  wchar_t current[MAX_PATH + 1] = {};
  const DWORD length = GetCurrentDirectoryW(MAX_PATH + 1, current);
  if (length > 0 && length <= MAX_PATH) {
    // "C:\" comes with its backslash already.
    archive->rootDirectory_ = runtime::toUtf8(std::wstring_view(current, length));
    runtime::ensureTrailingBackslash(archive->rootDirectory_);
  }

  // The file functions open the UTF-16 path that minizip hands through to them unread.
  zlib_filefunc64_def functions;
  fillArchiveFileFunctions(functions, &archive->fileErrors_);
  const std::wstring widePath = runtime::toWide(path);
  unzFile opened = path.empty() ? nullptr : unzOpen2_64(widePath.c_str(), &functions);
  if (opened == nullptr) {
    const DWORD error = archive->fileErrors_.open != 0 ? archive->fileErrors_.open : archive->fileErrors_.read;
    if (why != nullptr) *why = error != 0 ? ZipResult::CannotOpenFile : ZipResult::CorruptEntry;
    if (openError != nullptr) *openError = error;
    return nullptr;
  }
  archive->reader_ = opened;
  unz_global_info info{};
  if (unzGetGlobalInfo(opened, &info) != UNZ_OK) {
    const DWORD error = archive->fileErrors_.read;
    if (why != nullptr) *why = error != 0 ? ZipResult::CannotOpenFile : ZipResult::CorruptEntry;
    if (openError != nullptr) *openError = error;
    return nullptr;
  }
  archive->entryCount_ = info.number_entry > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int32_t>(info.number_entry);
  if (why != nullptr) *why = ZipResult::Ok;
  return archive;
}

ZipArchive::~ZipArchive() { closeArchive(); }

ZipResult ZipArchive::closeArchive() {
  if (reader_ != nullptr) unzClose(reader(reader_));
  reader_ = nullptr;
  cachedIndex_ = -1;
  currentIndex_ = -1;
  return ZipResult::Ok;
}

ZipResult ZipArchive::moveTo(int32_t index) {
  if (reader_ == nullptr) return ZipResult::BadArgument;
  if (currentIndex_ < 0 || index < currentIndex_) {
    if (unzGoToFirstFile(reader(reader_)) != UNZ_OK) {
      currentIndex_ = -1;
      return ZipResult::CorruptEntry;
    }
    currentIndex_ = 0;
  }
  while (currentIndex_ < index) {
    if (unzGoToNextFile(reader(reader_)) != UNZ_OK) {
      currentIndex_ = -1;
      return ZipResult::CorruptEntry;
    }
    ++currentIndex_;
  }
  return ZipResult::Ok;
}

namespace {

// unzGetCurrentFileInfo64 of the current entry with the checks of its central record; stored
// receives the name as stored, zero-terminated.
ZipResult readCentralRecord(unzFile file, unz_file_info64& info, char (&stored)[kEntryNameSize]) {
  if (unzGetCurrentFileInfo64(file, &info, stored, kEntryNameSize, nullptr, 0, nullptr, 0) != UNZ_OK) {
    return ZipResult::CorruptEntry;
  }
  // A name that does not fit, or that holds a zero byte, cannot be represented faithfully.
  if (info.size_filename >= kEntryNameSize || std::strlen(stored) != info.size_filename) {
    return ZipResult::CorruptEntry;
  }
  // Encrypted data would only inflate into garbage; other methods are not supported.
  if ((info.flag & kEncryptedFlag) != 0) return ZipResult::CorruptEntry;
  if (info.compression_method != 0 && info.compression_method != Z_DEFLATED) return ZipResult::CorruptEntry;
  return ZipResult::Ok;
}

}  // namespace

int32_t ZipArchive::countListedEntries() {
  if (reader_ == nullptr) return -1;
  int32_t count = 0;
  for (; count < entryCount_; ++count) {
    if (moveTo(count) != ZipResult::Ok) return -1;
    unz_file_info64 info{};
    char stored[kEntryNameSize];
    if (readCentralRecord(reader(reader_), info, stored) != ZipResult::Ok) return -1;
    if (frames_ != nullptr && !frames_->serviceWhenDue()) {
      stopped_ = true;
      return -1;
    }
  }
  return count;
}

ZipResult ZipArchive::getEntry(int32_t index, ZipEntry& entry) {
  if (reader_ == nullptr || index < -1 || index >= entryCount_) return ZipResult::BadArgument;
  if (index == -1) {
    entry = ZipEntry{};
    entry.index = entryCount_;
    return ZipResult::Ok;
  }
  if (index == cachedIndex_) {
    entry = cachedEntry_;
    return ZipResult::Ok;
  }
  const ZipResult moved = moveTo(index);
  if (moved != ZipResult::Ok) return moved;

  ZipEntry record;
  unz_file_info64 info{};
  char stored[kEntryNameSize];
  const ZipResult read = readCentralRecord(reader(reader_), info, stored);
  if (read != ZipResult::Ok) return read;
  record.nameWellFormed = decodeEntryName(stored, info.size_filename, static_cast<uint32_t>(info.flag), record.name);

  // Opening the data runs minizip's comparison of the local header with the central record
  // and locates the local extra field.
  if (unzOpenCurrentFile(reader(reader_)) != UNZ_OK) return ZipResult::CorruptEntry;
  std::vector<uint8_t> extra;
  const int extraLength = unzGetLocalExtrafield(reader(reader_), nullptr, 0);
  if (extraLength > 0) {
    extra.resize(static_cast<size_t>(extraLength));
    if (unzGetLocalExtrafield(reader(reader_), extra.data(), static_cast<unsigned>(extraLength)) != extraLength) {
      unzCloseCurrentFile(reader(reader_));
      return ZipResult::ReadFailed;
    }
  }
  unzCloseCurrentFile(reader(reader_));

  record.index = index;
  record.attributes = mapAttributes(static_cast<uint32_t>(info.external_fa));
  record.compressedSize = static_cast<int32_t>(info.compressed_size);
  record.uncompressedSize = static_cast<int32_t>(info.uncompressed_size);
  FILETIME dosTime;
  dosDateTimeToFileTime(static_cast<uint32_t>(info.dosDate), dosTime);
  record.accessTime = record.creationTime = record.writeTime = dosTime;
  applyExtendedTimestamp(extra.data(), extra.size(), record.writeTime, record.accessTime, record.creationTime);

  cachedEntry_ = record;
  cachedIndex_ = index;
  cachedSize_ = info.uncompressed_size;
  entry = record;
  return ZipResult::Ok;
}

namespace {

const FILETIME* knownTime(const FILETIME& time) {
  return (time.dwLowDateTime == 0 && time.dwHighDateTime == 0) ? nullptr : &time;
}

// "../" or "..\".
bool climbsUp(const runtime::Text& path) {
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '.' && i + 2 < path.size() && path[i + 1] == '.' && runtime::isPathSeparator(path[i + 2])) {
      return true;
    }
  }
  return false;
}

}  // namespace

ZipResult ZipArchive::unzipEntry(int32_t index, const runtime::Text& targetPath,
                                 std::optional<uint32_t> attributes) {
  outputError_ = 0;
  if (reader_ == nullptr || index < 0 || index >= entryCount_) return ZipResult::BadArgument;
  ZipEntry entry;
  const ZipResult described = getEntry(index, entry);
  if (described != ZipResult::Ok) return described;
  const ZipResult moved = moveTo(index);
  if (moved != ZipResult::Ok) return moved;

  if ((entry.attributes & kDirectoryFlag) != 0) {
    if (!entry.nameWellFormed || !isUsableEntryName(entry.name)) return ZipResult::CorruptEntry;
    ensureRelativeDirectory(rootDirectory_, entry.name);
    return ZipResult::Ok;
  }

  if (!runtime::fitsFilePath(targetPath)) {
    outputError_ = ERROR_FILENAME_EXCED_RANGE;
    return ZipResult::CannotOpenFile;
  }
  const size_t separator = runtime::lastPathSeparator(targetPath);
  if (targetPath.empty() || separator == targetPath.size() - 1) {  // no name, or names a folder
    outputError_ = ERROR_INVALID_NAME;
    return ZipResult::CannotOpenFile;
  }
  if (separator != runtime::Text::npos) {
    const runtime::Text dir = targetPath.substr(0, separator);
    if (runtime::rootPrefixLength(dir) == 0 && !climbsUp(dir)) ensureRelativeDirectory(rootDirectory_, dir);
  }

  ReplacementFile output(targetPath);
  if (!output.open(attributes.value_or(entry.attributes))) {
    outputError_ = output.error();
    return ZipResult::CannotOpenFile;
  }
  if (unzOpenCurrentFile(reader(reader_)) != UNZ_OK) return ZipResult::WriteFailed;
  // A session that ends while the window is serviced below leaves no partly written file.
  const runtime::UndoOnSessionEnd undo([](void* file) { static_cast<ReplacementFile*>(file)->discard(); }, &output);

  char buffer[kBufferSize];
  uint64_t total = 0;
  bool failed = false;
  while (true) {
    const int got = unzReadCurrentFile(reader(reader_), buffer, kBufferSize);
    if (got < 0) {
      failed = true;
      break;
    }
    if (got == 0) break;
    DWORD written = 0;
    if (!WriteFile(output.handle(), buffer, static_cast<DWORD>(got), &written, nullptr)) {
      outputError_ = GetLastError();
      break;
    }
    if (written != static_cast<DWORD>(got)) {
      outputError_ = ERROR_WRITE_FAULT;
      break;
    }
    total += static_cast<uint64_t>(got);
    if (frames_ != nullptr && !frames_->serviceWhenDue()) {
      stopped_ = true;
      break;
    }
  }
  // The CRC-32 is compared only when the data were read to their declared end.
  if (unzCloseCurrentFile(reader(reader_)) != UNZ_OK) failed = true;
  if (outputError_ != 0 || stopped_) return ZipResult::WriteFailed;
  if (failed || total != cachedSize_) return ZipResult::WriteFailed;

  if (!output.commit(knownTime(entry.creationTime), knownTime(entry.accessTime), knownTime(entry.writeTime))) {
    outputError_ = output.error();
    return ZipResult::CannotOpenFile;
  }
  return ZipResult::Ok;
}

void ensureRelativeDirectory(const runtime::Text& root, const runtime::Text& dir) {
  if (dir.empty()) return;
  const size_t separator = runtime::lastPathSeparator(dir);
  if (separator != runtime::Text::npos && separator > 0) ensureRelativeDirectory(root, dir.substr(0, separator));
  const runtime::Text full = root + dir;
  if (runtime::fitsFolderPath(full)) CreateDirectoryW(runtime::toWide(full).c_str(), nullptr);
}

}  // namespace unzip
