// The test that an entry name names one place below the folder it is unpacked into, and a
// place that Windows can make under exactly that name.
#pragma once

namespace unzip {

// True when the stored name (GBK, "/" or "\" separators) is usable. Refused:
// - text that is not well formed in the ANSI code page (a lead byte without its trail
//   byte): the system would read the bytes otherwise than the path code steps through them,
//   and put the entry in another folder or under another name;
// - a leading "/" or "\" (rooted, UNC and device paths) and any ":" (drive letters and
//   alternate data streams);
// - the characters Windows allows in no name: < > " | ? * and the control bytes 1 to 31;
// - a component made only of dots and spaces other than "." (which Windows reads as the
//   parent or trims to it), and reserved device names such as "CON" or "com1.txt";
// - a folder component (one that a separator follows) ending in a dot or a space: Windows
//   trims those from the last component only, so the folder is made without them and the
//   paths below it, which keep them, lead nowhere.
bool isUsableEntryName(const char* name);

}  // namespace unzip
