// File operations: deletion, writing ByteSets, and stepwise folder enumeration (the
// existence tests are in path.h).
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/bytes.h"
#include "runtime/handles.h"
#include "runtime/path.h"
#include "runtime/text.h"

namespace runtime {

// DeleteFileA; false for a missing, read-only, held or folder path.
bool deleteFile(const Text& path);
// CREATE_ALWAYS, exclusive, inheritable handle, normal attributes; each non-empty ByteSet
// written with one WriteFile in order. True only when every write and the close succeeded;
// otherwise *error (if given) receives the failing call's error code.
bool writeFile(const Text& path, std::initializer_list<ByteView> parts, DWORD* error = nullptr);

// The caller's slot for one enumeration; empty when no search is open.
using SearchHandle = FindHandle;

// One step of a folder enumeration. A non-empty pattern starts a new search in the slot
// (closing the open one); an empty pattern continues it. Entries pass the filter when
// maskOmitted and they are not folders, or when (mask & 0x37) shares a bit with their
// attributes, or when (mask & 0x37) is 0 and their attributes are exactly 0. Returns the
// passing entry's name; when nothing (more) is found the search is closed and "" returned.
Text findFile(const Text& pattern, int32_t mask, bool maskOmitted, SearchHandle& search);
void closeFind(SearchHandle& search);

}  // namespace runtime
