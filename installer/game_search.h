// The search of every drive for the game's executable.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "runtime/text.h"

namespace installer {

constexpr const char* kGameExeName = "Unturned.exe";

// Empties gameExePath, walks the drives the system lists and leaves in gameExePath the match
// that a walk of every drive in list order, every match overwriting the one before, would
// leave last (empty when there is none). It gets there from the far end and stops at the
// first match it meets (see searchFolders). Ends early also when the run's window is closed
// under it.
void findGameOnAllDrives();

// The walk of findGameOnAllDrives over the given roots (folders, with or without a trailing
// backslash) in place of the system's drives.
//
// The answer is the last match of the forward walk: roots in order, each folder depth first
// and pre-order (its own files, then its sub-folders in the order the file system lists
// them), no early stop, every match overwriting the one before. This walk takes the exact
// mirror of that order and stops at its first match, which is the forward walk's last: roots
// last to first; in each folder its sub-folders last-listed to first, each walked whole, and
// only then the folder's own files; among several matches of one folder the last listed.
// The result is the same; the deviation is the early stop: the folders the forward walk
// would visit after its last match are never visited. With no match every folder is visited.
//
// A match is a file (not a folder) named `name`, ASCII letters compared without regard to
// case; gameExePath receives the folder plus the name as stored. A match whose path does not
// fit a file path of the W functions (runtime::kFilePathLimit UTF-16 units) is passed over.
// Each folder is listed once. Folder links (junctions and symbolic links) are not entered,
// so a link back to an ancestor cannot make the walk loop; a volume mounted in a folder is
// walked like any folder; a folder that cannot be listed yields nothing. After a sub-folder
// the window's messages are dispatched when a frame's time (15 ms) has passed since they
// last were, never before the first one.
void searchFolders(const std::vector<runtime::Text>& roots, const runtime::Text& name);
// The same over one folder.
void searchFolder(const runtime::Text& folder, const runtime::Text& name);

// The rules of the walk, for tests.
bool sameNameIgnoringAsciiCase(const wchar_t* a, const wchar_t* b);
// folder: the folder listed, ending in a backslash. Its entry is opened only when the entry
// carries the mount-point tag, which junctions and mounted volumes share.
bool isFolderLink(const WIN32_FIND_DATAW& entry, const std::wstring& folder);
// Whether reparse data (as FSCTL_GET_REPARSE_POINT returns it) is a mount point whose target
// is exactly a volume's root ("\??\Volume{GUID}\") rather than a folder, also a folder of a
// volume ("\??\Volume{GUID}\dir").
bool reparseDataNamesVolume(const void* data, size_t size);

}  // namespace installer
