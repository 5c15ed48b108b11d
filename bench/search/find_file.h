// Stepwise folder enumeration with an attribute filter: the listing step of the walk that
// lists every folder twice. The program's own walk lists each folder once and needs none of it.
#pragma once

#include <cstdint>

#include "runtime/handles.h"
#include "runtime/text.h"

namespace searchbench {

// The caller's slot for one enumeration; empty when no search is open.
using SearchHandle = runtime::FindHandle;

// One step of a folder enumeration. A non-empty pattern starts a new search in the slot
// (closing the open one); an empty pattern continues it. Entries pass the filter when
// maskOmitted and they are not folders, or when (mask & 0x37) shares a bit with their
// attributes, or when (mask & 0x37) is 0 and their attributes are exactly 0. Returns the
// passing entry's name; when nothing (more) is found the search is closed and "" returned.
runtime::Text findFile(const runtime::Text& pattern, int32_t mask, bool maskOmitted, SearchHandle& search);
void closeFind(SearchHandle& search);

}  // namespace searchbench
