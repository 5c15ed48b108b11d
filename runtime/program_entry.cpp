// The first instruction of the program. Before the C runtime starts (its initialisers and
// every static constructor may load DLLs), the DLL search is restricted to the system
// folder; then the C runtime's own start runs as usual and calls WinMain.
//
// Linked into the program with its entry set here (see harden_program in
// runtime/CMakeLists.txt), together with a link that leaves only kernel32 and msvcrt as
// static imports (both are KnownDLLs, mapped from the system folder before any code runs):
// every other DLL is loaded at its first call, when the restriction is in force.
#include <windows.h>

#include "runtime/system_functions.h"

extern "C" int WinMainCRTStartup();

extern "C" int programEntry() {
  runtime::restrictDllSearch();
  return WinMainCRTStartup();
}

// The load configuration: its DependentLoadFlags (the field the headers call Reserved1)
// make the loader look for the program's static imports in the system folder only, where
// Windows honours it (Windows 10 1607 on). The linker does not point the load-configuration
// directory here by itself: the program's link step writes the entry (tools/harden_link.py).
// No security cookie and no safe exception handler table: the code uses neither.
// IMAGE_LOAD_CONFIG_DIRECTORY is the word size's own layout (the 64-bit twin's is wider).
extern "C" __attribute__((used)) const IMAGE_LOAD_CONFIG_DIRECTORY _load_config_used = {
    sizeof(IMAGE_LOAD_CONFIG_DIRECTORY),    // Size
    0,                                      // TimeDateStamp
    0, 0,                                   // MajorVersion, MinorVersion
    0, 0,                                   // GlobalFlagsClear, GlobalFlagsSet
    0,                                      // CriticalSectionDefaultTimeout
    0, 0,                                   // DeCommitFreeBlockThreshold, DeCommitTotalFreeThreshold
    0,                                      // LockPrefixTable
    0, 0,                                   // MaximumAllocationSize, VirtualMemoryThreshold
    0, 0,                                   // ProcessHeapFlags, ProcessAffinityMask (64-bit: reversed)
    0,                                      // CSDVersion
    LOAD_LIBRARY_SEARCH_SYSTEM32,           // DependentLoadFlags
    0,                                      // EditList
    0,                                      // SecurityCookie
    0, 0,                                   // SEHandlerTable, SEHandlerCount
};
