// A file layer for minizip that only the tests link in: it wraps the archive's own file
// functions (the linker's --wrap of unzip::fillArchiveFileFunctions, see CMakeLists.txt) and
// passes every call through, until a test asks it to fail the reads of the archive file that
// take in a given byte. A failed read is recorded as the archive's own layer records one whose
// ReadFile failed: its error code in the ArchiveFileErrors of the open, the stream in error.
#pragma once

#include <windows.h>

#include <cstdint>

namespace unziptest {

// Reads that take in the byte at offset fail with error, in every archive read from now on,
// until failNoReads.
void failReadsAt(uint64_t offset, DWORD error);
void failNoReads();
// True when the wrapper is linked in place of the archive's own file functions.
bool failingLayerInstalled();

}  // namespace unziptest
