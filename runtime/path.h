// Path rules: a path's separators, its root, its length as the system counts it, and whether
// something is at it. Every path rule of the program lives here. Paths are UTF-8: no byte of a
// multi-byte sequence is below 0x80, so a "\" or "/" byte is always a separator of its own.
#pragma once

#include <windows.h>

#include <cstddef>

#include "runtime/text.h"

namespace runtime {

bool isPathSeparator(char c);  // "\" or "/"
// Offset of the last "\" or "/"; Text::npos when none.
size_t lastPathSeparator(const Text& text);
// True when the last byte is "\".
bool hasTrailingBackslash(const Text& text);
// Appends "\" unless the last character is one; "" becomes "\".
void ensureTrailingBackslash(Text& text);

// Length of the part of path that names no folder below a root, with its separator:
// "C:\" 3, "C:" 2, "\" 1, "\\server\share\" and "\\?\C:\" up to their fourth separator
// (the whole text when it has fewer); 0 for a relative path. "/" counts as "\".
size_t rootPrefixLength(const Text& path);

// Windows' limits for paths handed to the W functions without the "\\?\" prefix, counted as
// Windows counts them: UTF-16 units, without the terminating zero. A file path must stay below
// MAX_PATH (260); a folder that CreateDirectoryW makes must leave room for an 8.3 name (248).
constexpr size_t kFilePathLimit = MAX_PATH;
constexpr size_t kFolderPathLimit = MAX_PATH - 12;
// The number of UTF-16 units the UTF-8 path takes, the count the limits above apply to.
size_t pathUnits(const Text& path);
// True when the path fits a file path (a folder path) of the W functions.
bool fitsFilePath(const Text& path);
bool fitsFolderPath(const Text& path);

// True when a file or a folder is at exactly this path (GetFileAttributesW: folder paths
// with a trailing backslash and drive roots count; wildcards match nothing). When not,
// *error (if given) receives the reason, such as ERROR_FILE_NOT_FOUND.
bool pathExists(const Text& path, DWORD* error = nullptr);
// True when a folder stands at path. MoveFileEx never replaces a folder, and CreateFile
// without FILE_FLAG_BACKUP_SEMANTICS fails on one with ERROR_ACCESS_DENIED, as for a file it
// may not open: only the attributes tell the two apart.
bool isFolder(const Text& path);
// FindFirstFileW(path) yields a handle: folders count, wildcards match, "" is false.
bool fileExists(const Text& path);

}  // namespace runtime
