// A new file written beside its target under a temporary name and moved over the target
// only when it is complete, so that a failed write never destroys the previous file.
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
  // Removes the temporary file unless commit succeeded.
  ~ReplacementFile() { discard(); }

  // Creates the temporary file ("~uz" and four hex digits, in the target's folder) for
  // writing, unshared, with the given attributes. False when no such file can be created
  // or its path would not fit MAX_PATH.
  bool open(DWORD attributes);
  HANDLE handle() const { return file_.get(); }
  // Closes the file and moves it over the target (replacing an existing file). On failure
  // the temporary file is removed and the target is left as it was.
  bool commit();
  void discard();

  const runtime::Text& temporaryPath() const { return temporary_; }

 private:
  runtime::Text target_;
  runtime::Text temporary_;
  runtime::FileHandle file_;
};

}  // namespace unzip
