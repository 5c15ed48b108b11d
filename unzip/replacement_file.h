// The file an entry's data are written to. When nothing is at the target, that is the target
// itself, created new; when something is there already, a temporary file beside it, moved
// over the target only when it is complete, so that a failed write never destroys the
// previous file. Either way a failure leaves nothing half-written behind.
#pragma once

#include <windows.h>

#include "runtime/handles.h"
#include "runtime/text.h"

namespace unzip {

class ReplacementFile {
 public:
  explicit ReplacementFile(runtime::Text target) : target_(std::move(target)) {}
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  // Removes what open created unless commit succeeded.
  ~ReplacementFile() { discard(); }

  // Creates the target for writing, unshared, with the given attributes, failing if anything
  // is there (so nothing is overwritten before the data are complete); when something is,
  // creates the temporary file ("~uz" and four hex digits, in the target's folder) instead.
  // False when neither can be created or the path would not fit the system's file path limit
  // (runtime/path.h); error() says why: ERROR_ALREADY_EXISTS when a folder stands at the
  // target, which no file replaces.
  bool open(DWORD attributes);
  HANDLE handle() const { return file_.get(); }
  // Gives the file the times (null ones stay as they are) and the attributes of open, in one
  // call, and closes it. A temporary file is then moved over the target. On failure what open
  // created is removed, the previous file stays as it was, attributes included, and error()
  // says why: ERROR_SHARING_VIOLATION when another program holds the target open,
  // ERROR_ALREADY_EXISTS when a folder has taken the target's name.
  bool commit(const FILETIME* creation, const FILETIME* access, const FILETIME* write);
  void discard();

  // True while a temporary file is written in place of an existing target.
  bool replacing() const { return !temporary_.empty(); }
  const runtime::Text& temporaryPath() const { return temporary_; }
  // The system's error code of the call that failed.
  DWORD error() const { return error_; }

 private:
  bool openTemporary(DWORD attributes);
  bool fail(DWORD error);
  // MoveFileExW of the temporary file over the target; 0, or the error code of the cause.
  DWORD moveOverTarget();

  runtime::Text target_;
  runtime::Text temporary_;
  runtime::FileHandle file_;
  bool owned_ = false;  // open created a file that commit has not handed over yet
  DWORD attributes_ = FILE_ATTRIBUTE_NORMAL;
  DWORD error_ = 0;
};

}  // namespace unzip
