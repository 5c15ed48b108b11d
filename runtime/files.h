// File operations: deletion and writing ByteSets (the existence tests are in path.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "runtime/bytes.h"
#include "runtime/events.h"
#include "runtime/handles.h"
#include "runtime/path.h"
#include "runtime/text.h"

namespace runtime {

// DeleteFileW; false for a missing, read-only, held or folder path.
bool deleteFile(const Text& path);
// CREATE_ALWAYS, exclusive, inheritable handle, normal attributes; each non-empty ByteSet
// written with one WriteFile in order. True only when every write and the close succeeded;
// otherwise *error (if given) receives the failing call's error code. With frames, the data
// go in pieces of kWritePieceBytes with the window serviced between them; when it says the
// work must stop, the write ends there (ERROR_CANCELLED) and the file is left as far as it got;
// should the session end during such a service, the file is deleted first (UndoOnSessionEnd).
constexpr size_t kWritePieceBytes = 256 * 1024;
bool writeFile(const Text& path, std::initializer_list<ByteView> parts, DWORD* error = nullptr,
               FrameService* frames = nullptr);

}  // namespace runtime
