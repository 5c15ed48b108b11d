// The test that keeps an entry name inside the folder it is unpacked into.
#pragma once

namespace unzip {

// True when the stored name (GBK, "/" or "\" separators) names a place below the target
// folder. Refused: a leading "/" or "\" (rooted, UNC and device paths), any ":" (drive
// letters and alternate data streams), a component made only of dots and spaces other than
// "." (which Windows reads as the parent or trims to it), and reserved device names such as
// "CON" or "com1.txt" in any component.
bool isConfinedEntryName(const char* name);

}  // namespace unzip
