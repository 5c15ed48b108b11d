// Path rules: stepping through a GBK path character by character, its separators, its root,
// and whether something is at it. Every path rule of the program lives here.
#pragma once

#include <windows.h>

#include <cstddef>

#include "runtime/text.h"

namespace runtime {

// Double-byte awareness for the system's ANSI code page (GBK on the target systems): a lead
// byte and the byte after it form one character, so a trail byte 0x5C is never a backslash.
bool isLeadByte(unsigned char byte);
// Offset of the character after the one at offset i: a lead byte takes the next byte with
// it when there is one.
size_t nextCharacter(const Text& text, size_t i);
// The same on a zero-terminated text: a lead byte takes the next byte unless that is the
// terminating zero.
const char* nextCharacter(const char* p);
// True when every lead byte of the zero-terminated text has a trail byte after it that the
// code page pairs with it (MultiByteToWideChar with MB_ERR_INVALID_CHARS): only then does
// the system read the text as the steps above go through it.
bool isWellFormedText(const char* text);
// Offset of the first byte of the last character; text.size() when the text is empty.
size_t lastCharacterStart(const Text& text);

bool isPathSeparator(char c);  // "\" or "/"
// Offset of the last "\" or "/" that is a character of its own; Text::npos when none.
size_t lastPathSeparator(const Text& text);
// True when the last character is a "\" of its own.
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

// True when a file or a folder is at exactly this path (GetFileAttributesA: folder paths
// with a trailing backslash and drive roots count; wildcards match nothing). When not,
// *error (if given) receives the reason, such as ERROR_FILE_NOT_FOUND.
bool pathExists(const Text& path, DWORD* error = nullptr);
// FindFirstFileA(path) yields a handle: folders count, wildcards match, "" is false.
bool fileExists(const Text& path);

}  // namespace runtime
