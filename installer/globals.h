// The one program-wide value.
#pragma once

#include "runtime/text.h"

namespace installer {

// The full path of the game's executable: empty at start, written by the game search and by
// the typed-folder way, read by the installation run.
extern runtime::Text gameExePath;

}  // namespace installer
