// File operations: existence, deletion, writing ByteSets.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/bytes.h"
#include "runtime/handles.h"
#include "runtime/text.h"

namespace runtime {

// FindFirstFileA(path) yields a handle: folders count, wildcards match, "" is false.
bool fileExists(const Text& path);
// DeleteFileA; false for a missing, read-only, held or folder path.
bool deleteFile(const Text& path);
// CREATE_ALWAYS, exclusive, inheritable handle, normal attributes; each non-empty ByteSet
// written with one WriteFile in order. True only when every write and the close succeeded.
bool writeFile(const Text& path, std::initializer_list<ByteView> parts);

}  // namespace runtime
