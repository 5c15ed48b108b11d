// The search of every drive for the game's executable.
#pragma once

#include <windows.h>

#include "runtime/text.h"

namespace installer {

constexpr const char* kGameExeName = "Unturned.exe";

// The one-click search: findGameOnAllDrives, then the installation into the folder found.
void searchAllDrives();

// Empties gameExePath, walks every drive the system lists, in list order, and leaves in
// gameExePath the last match of the walk (empty when there is none). Ends early only when
// the run's window is closed under it.
void findGameOnAllDrives();

// Walks folder and everything below it, depth first and pre-order: a folder's own files
// before its sub-folders, sub-folders in the order the file system lists them, window
// messages dispatched after each sub-folder. Every file named `name` (ASCII letters matched
// without regard to case) sets gameExePath to the folder plus the name as stored. Each
// folder is listed once. Folder links (junctions and symbolic links) are not entered, so a
// link back to an ancestor cannot make the walk loop; a folder that cannot be listed yields
// nothing.
void searchFolder(const runtime::Text& folder, const runtime::Text& name);

// The rules of the walk, for tests.
bool sameNameIgnoringAsciiCase(const char* a, const char* b);
bool isFolderLink(const WIN32_FIND_DATAA& entry);

}  // namespace installer
