// The walk that lists every folder twice: once for the executable's exact name, matched by
// the system, and once in full for the sub-folders. Kept for the benchmark, which measures
// what the one-listing walk saves.
#pragma once

#include "runtime/text.h"

namespace installer {

void searchFolderTwoListings(const runtime::Text& folder, const runtime::Text& name);

}  // namespace installer
