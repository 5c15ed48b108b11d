#include "runtime/system_functions.h"

#include <delayimp.h>

#include <cstdio>

#include "runtime/fatal.h"
#include "runtime/text.h"

namespace {

// Every DLL but kernel32 and msvcrt is delay-loaded (tools/harden_link.py): the C runtime's
// helper binds each function at its first call and, when the DLL or the function cannot be
// found, calls this hook before it would raise an exception that nothing handles. A failure
// is fatal, as for any system function bound by name.
FARPROC WINAPI delayLoadFailed(unsigned notice, PDelayLoadInfo info) {
  if (notice != dliFailLoadLib && notice != dliFailGetProc) return nullptr;
  static char ordinal[16];
  const char* function = info->dlp.szProcName;
  if (!info->dlp.fImportByName) {
    std::snprintf(ordinal, sizeof ordinal, "#%lu", static_cast<unsigned long>(info->dlp.dwOrdinal));
    function = ordinal;
  }
  runtime::fatalMissingExport(info->szDll, function);
}

}  // namespace

// The helper's failure hook, by the name it reads it under
// (delayimp.h declares it extern "C").
PfnDliHook __pfnDliFailureHook2 = delayLoadFailed;

namespace runtime {

DllSearch restrictDllSearch() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  // FARPROC is the generic shape of every export; the cast goes through void* to say so.
  const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return DllSearch::SystemFolderOnly;
  // The program's own folder stays first here: only the documented update closes it. The
  // system DLLs that system code loads by name are loaded from the system folder now,
  // before any of it runs, so that its later loads find them loaded.
  SetDllDirectoryW(L"");
  preloadSystemLibraries();
  return DllSearch::CurrentFolderDropped;
}

FARPROC bindSystemFunction(const char* library, const char* function) {
  HMODULE module = loadSystemLibrary(toWide(library).c_str());
  if (module == nullptr) fatalMissingExport(library, function);
  FARPROC address = GetProcAddress(module, function);
  if (address == nullptr) fatalMissingExport(library, function);
  return address;
}

DWORD getLogicalDriveStrings(DWORD length, wchar_t* buffer) {
  using Function = DWORD(WINAPI*)(DWORD, LPWSTR);
  static Function bound = nullptr;
  if (bound == nullptr) {
    bound = reinterpret_cast<Function>(reinterpret_cast<void*>(
        bindSystemFunction("kernel32.dll", "GetLogicalDriveStringsW")));
  }
  return bound(length, buffer);
}

DWORD getLogicalDriveStrings(DWORD length, char* buffer) {
  using Function = DWORD(WINAPI*)(DWORD, LPSTR);
  static Function bound = nullptr;
  if (bound == nullptr) {
    bound = reinterpret_cast<Function>(reinterpret_cast<void*>(
        bindSystemFunction("kernel32.dll", "GetLogicalDriveStringsA")));
  }
  return bound(length, buffer);
}

}  // namespace runtime
