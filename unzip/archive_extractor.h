// Unpacking one ZIP archive file into a folder, entry by entry, with progress and cancel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "runtime/text.h"
#include "unzip/extraction_owner.h"
#include "unzip/zip_archive.h"

namespace unzip {

class ArchiveExtractor;

// Why an extraction failed, learnt at the call that failed.
enum class FailureCause {
  None,
  DamagedArchive,  // the archive's data read fine but are damaged or of a kind not supported
  SystemError,     // a call on the archive file (a read too) or on an output file or folder failed
  FileInTheWay,    // a folder entry: a file of the folder's name is there (CreateDirectoryW: 183)
  FolderInTheWay,  // a file entry: a folder of the file's name is there, which no file replaces
  PathTooLong,     // a path longer than Windows takes (runtime/path.h; 206, ERROR_FILENAME_EXCED_RANGE)
};
struct ExtractionFailure {
  FailureCause cause = FailureCause::None;
  DWORD systemError = 0;  // with every cause but None and DamagedArchive: that call's error code
  // With FileInTheWay and FolderInTheWay the full path of what is in the way; with PathTooLong
  // the path that is too long; with SystemError the path of the output file or folder, when
  // the failing call was on one.
  runtime::Text path;
};

// Called with the index of the entry processed last (the total at the end), the total,
// that entry's output path and the extractor, which the callback may cancel.
using ProgressCallback = void (*)(uint32_t done, uint32_t total, const char* currentPath,
                                  ArchiveExtractor& extractor);

class ArchiveExtractor {
 public:
  ArchiveExtractor() = default;
  ArchiveExtractor(const ArchiveExtractor&) = delete;
  ArchiveExtractor& operator=(const ArchiveExtractor&) = delete;

  void setOwner(ExtractionOwner* owner) { owner_ = owner; }
  ExtractionOwner* owner() const { return owner_; }
  // reset, then store the callback.
  void setProgressCallback(ProgressCallback callback);
  void setCancel(int32_t flag) { cancelRequested_ = flag; }
  // Services the window after every entry and between the pieces of a large one. When it
  // says the work must stop, the entry in progress is rolled back (a new file removed, an
  // existing one left as it was) and extract ends as after a cancel.
  void setFrameService(runtime::FrameService* frames) { frames_ = frames; }
  // Clears the cancel request, both counts and the callback; the path and owner stay.
  void reset();
  void notifyProgress();

  // 1 when every entry was unpacked or the run was cancelled; 0 when the target folder,
  // the archive or an entry failed; -1 when a text is not given or is empty, or nothing
  // exists at archivePath.
  int32_t extract(const char* archivePath, const char* targetFolder);
  // Why the last extract gave 0 or -1.
  const ExtractionFailure& failure() const { return failure_; }

  int32_t cancelRequested() const { return cancelRequested_; }
  ProgressCallback progressCallback() const { return progressCallback_; }
  const runtime::Text& currentPath() const { return currentPath_; }
  int32_t totalEntries() const { return totalEntries_; }
  int32_t doneIndex() const { return doneIndex_; }

 private:
  // The steps up to the end of the entries; extract adds the final notification.
  int32_t walk(const char* archivePath, const char* targetFolder, std::unique_ptr<ZipArchive>& archive);
  // Creates the folder or writes the file of one entry below base; path receives the output
  // path. False, with the cause kept, when the entry cannot be unpacked.
  bool unpackEntry(ZipArchive& archive, const ZipEntry& entry, const runtime::Text& base, runtime::Text& path);
  bool createFolder(const runtime::Text& path);
  // Keep the cause and give the result.
  template <class Result>
  Result damaged(Result result) {
    failure_ = ExtractionFailure{FailureCause::DamagedArchive, 0, runtime::Text()};
    return result;
  }
  // A path the system refuses as too long is a cause of its own.
  template <class Result>
  Result systemFailure(Result result, DWORD error, const runtime::Text& path = runtime::Text()) {
    const FailureCause cause =
        error == ERROR_FILENAME_EXCED_RANGE ? FailureCause::PathTooLong : FailureCause::SystemError;
    failure_ = ExtractionFailure{cause, error, path};
    return result;
  }
  // A folder path that could not be made: a file standing at one of its folders is named.
  template <class Result>
  Result folderFailure(Result result, DWORD error, const runtime::Text& path);
  template <class Result>
  Result inTheWay(Result result, FailureCause cause, DWORD error, const runtime::Text& path) {
    failure_ = ExtractionFailure{cause, error, path};
    return result;
  }
  // A request on the archive failed: on a read of its file that failed, with that read's
  // code; otherwise its data are damaged.
  template <class Result>
  Result archiveFault(const ZipArchive& archive, Result result) {
    const DWORD error = archive.readError();
    return error != 0 ? systemFailure(result, error) : damaged(result);
  }

  ExtractionOwner* owner_ = nullptr;
  int32_t cancelRequested_ = 0;
  ProgressCallback progressCallback_ = nullptr;
  runtime::Text currentPath_;
  int32_t totalEntries_ = 0;
  int32_t doneIndex_ = 0;
  ExtractionFailure failure_;
  runtime::FrameService* frames_ = nullptr;
};

// True when path is a file of at least 32 bytes that starts with a local file header whose
// 32-bit value at offset 24 (first entry: uncompressed size high half, name length) is >= 1.
// When false, *error (if given) receives the system's error code of the open or read that
// failed, or 0 when the file was read and is no ZIP file.
bool isZipFile(const runtime::Text& path, DWORD* error = nullptr);
// The number of entries the central directory lists, every record read and checked as the
// walk will check it, without opening any entry (ZipArchive::countListedEntries); -1 when a
// record before that count cannot be read or fails its checks.
int32_t countEntries(ZipArchive& archive);
// recursive: tests every folder of path from its root on, left to right, and creates the
// missing ones; folders created before a failure stay; a folder path beyond the system's
// folder limit fails with ERROR_FILENAME_EXCED_RANGE. Otherwise one CreateDirectoryW. On
// failure *error (if given) receives the failing call's error code.
bool createDirectoryPath(const runtime::Text& path, bool recursive, DWORD* error = nullptr);
// Every byte "/" becomes "\" (no byte of a UTF-8 multi-byte sequence is 0x2F).
void slashesToBackslashes(runtime::Text& name);

}  // namespace unzip
