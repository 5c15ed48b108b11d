// The archive file as minizip reads it. minizip reads every header a byte at a time, so the
// reads are served from two cached blocks of the file, one for the central directory and one
// for the entries' headers and data, between which the walk moves back and forth.
#pragma once

#include <windows.h>

#include <ioapi.h>

namespace unzip {

// File functions for unzOpen2_64. The file is opened for reading, shared with other readers
// only, existing files only. When the open fails, *openError (if given) receives the
// system's error code; it must stay valid for the call of unzOpen2_64.
void fillArchiveFileFunctions(zlib_filefunc64_def& functions, DWORD* openError);

}  // namespace unzip
