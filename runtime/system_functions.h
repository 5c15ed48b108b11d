// The DLL search of the process, and system functions bound by library and name at their
// first call (a failed lookup is fatal).
#pragma once

#include <windows.h>

#include "runtime/system_libraries.h"

namespace runtime {

// How far restrictDllSearch could narrow the search for DLLs loaded by name.
enum class DllSearch {
  SystemFolderOnly,     // SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) took effect
  CurrentFolderDropped, // kernel32 has no SetDefaultDllDirectories (Vista, Windows 7 without
                        // KB2533623): the current folder is taken out of the search and the
                        // DLLs of preloadSystemLibraries are loaded from the system folder;
                        // any other DLL loaded by name alone is still looked for beside the
                        // program first
};

// Makes every later load by name (the program's own, the system DLLs' and their
// dependencies') look in the system folder only, so that a DLL placed beside the program is
// never loaded. Runs at the program's entry, before the C runtime: kernel32 calls only.
// SetDefaultDllDirectories is looked up by name, as older kernel32 lacks it.
DllSearch restrictDllSearch();

// loadSystemLibrary + GetProcAddress; fatalMissingExport when either fails.
FARPROC bindSystemFunction(const char* library, const char* function);

// GetLogicalDriveStringsW of kernel32.dll, bound at the first call; length counts UTF-16
// units, and so does the result.
DWORD getLogicalDriveStrings(DWORD length, wchar_t* buffer);
// The same through GetLogicalDriveStringsA (drive roots are ASCII in every code page).
DWORD getLogicalDriveStrings(DWORD length, char* buffer);

}  // namespace runtime
