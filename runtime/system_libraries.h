// System DLLs loaded by their full path in the system folder. Kernel32 calls only: usable at
// the program's entry, before the C runtime.
#pragma once

#include <windows.h>

namespace runtime {

// The module if it is loaded already, otherwise the library by its full path in the system
// folder: never a file of the same name beside the program. Null when neither works.
HMODULE loadSystemLibrary(const wchar_t* library);

// Loads, with loadSystemLibrary, the DLLs that system code is known to load into this
// program by name alone and that are no KnownDLLs of Windows Vista and 7 (uxtheme, dwmapi,
// cryptbase, version, propsys, winmm, userenv, shcore); one the system lacks is passed over.
// A later load by name alone then finds the loaded module ("a DLL with the same module name
// is already loaded": the first rule of the search order) and looks in no folder.
void preloadSystemLibraries();

}  // namespace runtime
