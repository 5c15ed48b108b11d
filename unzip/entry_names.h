// Entry names: the stored bytes decoded to the program's UTF-8, and the test that a name names
// one place below the folder it is unpacked into, and a place that Windows can make under
// exactly that name.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/text.h"

namespace unzip {

// General-purpose flag bit 11 ("language encoding"): the entry's name is UTF-8.
constexpr uint32_t kUtf8NameFlag = 0x0800;
// The code page of names stored without that flag: what Chinese zip tools write. It is named
// here, never taken from the system's ANSI code page, so that an archive unpacks to the same
// names on every system.
constexpr unsigned kLegacyNameCodePage = 936;

// The stored name bytes as UTF-8: UTF-8 when the entry carries kUtf8NameFlag, code page 936
// otherwise. False when the bytes are not well formed in that encoding (the system would read
// them as other characters, or as none).
bool decodeEntryName(const char* stored, size_t length, uint32_t flags, runtime::Text& name);

// True when the decoded name ("/" or "\" separators) is usable. Refused:
// - a leading "/" or "\" (rooted, UNC and device paths) and any ":" (drive letters and
//   alternate data streams);
// - the characters Windows allows in no name: < > " | ? * and the control characters 1 to 31;
// - a component made only of dots and spaces other than "." (which Windows reads as the
//   parent or trims to it), and reserved device names such as "CON", "com1.txt" or "LPT²";
// - a folder component (one that a separator follows) ending in a dot or a space: Windows
//   trims those from the last component only, so the folder is made without them and the
//   paths below it, which keep them, lead nowhere.
// Every character these rules look at is ASCII, and no byte of a UTF-8 multi-byte sequence
// is: the name is scanned byte by byte.
bool isUsableEntryName(const runtime::Text& name);

}  // namespace unzip
