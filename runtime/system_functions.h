// System functions bound by library and name at their first call; a failed lookup is fatal.
#pragma once

#include <windows.h>

namespace runtime {

// LoadLibraryA + GetProcAddress; fatalMissingExport when either fails.
FARPROC bindSystemFunction(const char* library, const char* function);

// GetLogicalDriveStringsA of kernel32.dll, bound at the first call.
DWORD getLogicalDriveStrings(DWORD length, char* buffer);

}  // namespace runtime
