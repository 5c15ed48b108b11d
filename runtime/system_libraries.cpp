#include "runtime/system_libraries.h"

namespace runtime {

namespace {

// uxtheme and dwmapi (windows and themes), cryptbase (advapi32 on 7), version and propsys
// (the shell), winmm, userenv and shcore (imported by the system DLLs the program uses).
const char* const kPreloaded[] = {"uxtheme.dll", "dwmapi.dll", "cryptbase.dll", "version.dll",
                                  "propsys.dll", "winmm.dll",  "userenv.dll",   "shcore.dll"};

}  // namespace

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

void preloadSystemLibraries() {
  for (const char* library : kPreloaded) loadSystemLibrary(library);
}

}  // namespace runtime
