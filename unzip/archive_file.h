// The archive file as minizip reads it. minizip reads every header a byte at a time, so the
// reads are served from two cached blocks of the file, one for the central directory and one
// for the entries' headers and data, between which the walk moves back and forth.
#pragma once

#include <windows.h>

#include <ioapi.h>

namespace unzip {

// The system's error codes of the archive file's calls that failed: its open, and the first
// read (or seek) of its data; 0 while none failed. A read that fails is no damage of the data.
struct ArchiveFileErrors {
  DWORD open = 0;
  DWORD read = 0;
};

// File functions for unzOpen2_64, which must be given the archive's path as a zero-terminated
// UTF-16 text (const wchar_t*). The file is opened for reading, shared with other readers
// only, existing files only. errors (if given) receives the codes of failed calls; it must
// stay valid until unzClose.
void fillArchiveFileFunctions(zlib_filefunc64_def& functions, ArchiveFileErrors* errors);

}  // namespace unzip
