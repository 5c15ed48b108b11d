// The walk that lists every folder twice: once for the executable's exact name, matched by
// the system, and once in full for the sub-folders. The benchmark measures what the program's
// one-listing walk saves against it.
#pragma once

#include "runtime/text.h"

namespace searchbench {

// Sets installer::gameExePath for every match, as the program's walk does.
void searchFolderTwoListings(const runtime::Text& folder, const runtime::Text& name);

}  // namespace searchbench
