// The search of every drive for the game's executable.
#pragma once

#include <windows.h>

#include <cstddef>

#include "runtime/text.h"

namespace installer {

constexpr const char* kGameExeName = "Unturned.exe";

// Empties gameExePath, walks every drive the system lists, in list order, and leaves in
// gameExePath the last match of the walk (empty when there is none). Ends early only when
// the run's window is closed under it.
void findGameOnAllDrives();

// Walks folder and everything below it, depth first and pre-order: a folder's own files
// before its sub-folders, sub-folders in the order the file system lists them. Every file
// named `name` (ASCII letters matched without regard to case) sets gameExePath to the folder
// plus the name as stored, unless that path is too long for the system's paths (MAX_PATH
// bytes or more): such a match is passed over. Each folder is listed once. Folder links
// (junctions and symbolic links) are not entered, so a link back to an ancestor cannot make
// the walk loop; a volume mounted in a folder is walked like any folder; a folder that
// cannot be listed yields nothing. After a sub-folder the window's messages are dispatched
// when a frame's time (15 ms) has passed since they last were, never before the first one.
void searchFolder(const runtime::Text& folder, const runtime::Text& name);

// The rules of the walk, for tests.
bool sameNameIgnoringAsciiCase(const char* a, const char* b);
// folder: the folder listed, ending in a backslash. Its entry is opened only when the entry
// carries the mount-point tag, which junctions and mounted volumes share.
bool isFolderLink(const WIN32_FIND_DATAA& entry, const runtime::Text& folder);
// Whether reparse data (as FSCTL_GET_REPARSE_POINT returns it) is a mount point whose target
// is exactly a volume's root ("\??\Volume{GUID}\") rather than a folder, also a folder of a
// volume ("\??\Volume{GUID}\dir").
bool reparseDataNamesVolume(const void* data, size_t size);

}  // namespace installer
