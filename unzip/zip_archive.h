// Entry access for one ZIP archive file open for reading: describing an entry by its index
// and writing an entry's data into a file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "runtime/events.h"
#include "runtime/text.h"
#include "unzip/archive_file.h"

namespace unzip {

enum class ZipResult : uint32_t {
  Ok = 0,
  CannotOpenFile = 0x200,  // the archive or an output file cannot be opened or created
  WriteFailed = 0x400,     // the entry's data cannot be read, inflated or checked, or a write failed
  CorruptEntry = 0x700,    // local header disagrees, unsupported method, encrypted, unusable name
  ReadFailed = 0x800,      // the local extra field cannot be read
  BadArgument = 0x10000,   // index outside the entries
};

constexpr uint32_t kEntryNameSize = 260;
constexpr uint32_t kDirectoryFlag = FILE_ATTRIBUTE_DIRECTORY;  // 0x10

// The stored name may hold at most kEntryNameSize - 1 bytes.
struct ZipEntry {
  int32_t index = 0;
  // Decoded to UTF-8 (entry_names.h: UTF-8 with flag bit 11, code page 936 without), "/"
  // separators as stored; empty, with nameWellFormed false, when the stored bytes are not
  // well formed in their encoding.
  runtime::Text name;
  bool nameWellFormed = true;
  uint32_t attributes = 0;
  FILETIME accessTime = {};        // all-zero: unknown, left as the file system sets it
  FILETIME creationTime = {};
  FILETIME writeTime = {};
  int32_t compressedSize = 0;
  int32_t uncompressedSize = 0;
};

class ZipArchive {
 public:
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // Index -1 gives a summary record whose index is the number of entries.
  ZipResult getEntry(int32_t index, ZipEntry& entry);
  // Writes the entry's data into targetPath, created with the entry's attributes or with
  // the given ones. A file that is there already is replaced only after the data were read,
  // inflated and checked completely; a failed entry leaves no file of its own behind.
  ZipResult unzipEntry(int32_t index, const runtime::Text& targetPath,
                       std::optional<uint32_t> attributes = std::nullopt);
  ZipResult closeArchive();
  // Services the window between the pieces of an entry's data and between the records that
  // countListedEntries reads; when it says the work must stop, unzipEntry stops and rolls the
  // entry back (WriteFailed, and stopped() is true).
  void setFrameService(runtime::FrameService* frames) { frames_ = frames; }
  bool stopped() const { return stopped_; }
  // After an unzipEntry that failed: the system's error code of the call on the output file
  // that failed; 0 when the archive's own data were at fault (damaged, unreadable,
  // unsupported).
  DWORD outputError() const { return outputError_; }
  // The system's error code of the first read of the archive file that failed; 0 while every
  // read succeeded. A request that failed with it set failed on that read, not on damage.
  DWORD readError() const { return fileErrors_.read; }

  int32_t entryCount() const { return entryCount_; }
  const runtime::Text& rootDirectory() const { return rootDirectory_; }

  // The number of entries the central directory lists, every record read and checked as
  // getEntry checks it before it opens the entry (name size, encryption, method), without
  // opening any entry: reads only the central directory, with the window serviced between the
  // records. -1 when a record before that count cannot be read or fails a check, or when the
  // service says the work must stop (stopped() is then true).
  int32_t countListedEntries();

 private:
  friend std::unique_ptr<ZipArchive> openArchive(const runtime::Text& path, ZipResult* why, DWORD* openError);
  ZipArchive() = default;
  ZipResult moveTo(int32_t index);

  void* reader_ = nullptr;  // minizip's unzFile
  ZipEntry cachedEntry_;
  int32_t cachedIndex_ = -1;
  runtime::Text rootDirectory_;
  int32_t entryCount_ = 0;
  int32_t currentIndex_ = -1;  // minizip's current entry; -1 when unknown
  uint64_t cachedSize_ = 0;    // the cached entry's uncompressed size, in full
  DWORD outputError_ = 0;
  ArchiveFileErrors fileErrors_;  // filled by the file functions while the archive is open
  runtime::FrameService* frames_ = nullptr;
  bool stopped_ = false;
};

// Opens the archive (a UTF-8 path, opened as UTF-16) for reading, shared with other readers,
// existing files only. On failure
// returns null and, when why is given, stores CannotOpenFile (the file cannot be opened or a
// read of it failed; the system's error code goes to openError when given) or CorruptEntry
// (its central directory cannot be located or is damaged).
std::unique_ptr<ZipArchive> openArchive(const runtime::Text& path, ZipResult* why = nullptr,
                                        DWORD* openError = nullptr);

// Creates root followed by dir, and every folder of dir before it; failures are ignored.
void ensureRelativeDirectory(const runtime::Text& root, const runtime::Text& dir);

}  // namespace unzip
