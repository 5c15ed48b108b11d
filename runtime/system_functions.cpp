#include "runtime/system_functions.h"

#include "runtime/fatal.h"

namespace runtime {

DllSearch restrictDllSearch() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  // FARPROC is the generic shape of every export; the cast goes through void* to say so.
  const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return DllSearch::SystemFolderOnly;
  // The program's own folder stays first here: only the documented update closes it.
  SetDllDirectoryA("");
  return DllSearch::CurrentFolderDropped;
}

HMODULE loadSystemLibrary(const char* library) {
  if (HMODULE loaded = GetModuleHandleA(library)) return loaded;
  char path[MAX_PATH];
  const UINT folder = GetSystemDirectoryA(path, MAX_PATH);
  const size_t name = lstrlenA(library);
  if (folder == 0 || folder + 1 + name >= MAX_PATH) return nullptr;
  path[folder] = '\\';
  lstrcpyA(path + folder + 1, library);
  // By full path, with the dependencies looked for beside it (in the system folder) first.
  return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

FARPROC bindSystemFunction(const char* library, const char* function) {
  HMODULE module = loadSystemLibrary(library);
  if (module == nullptr) fatalMissingExport(library, function);
  FARPROC address = GetProcAddress(module, function);
  if (address == nullptr) fatalMissingExport(library, function);
  return address;
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
