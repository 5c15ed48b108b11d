#include "runtime/system_libraries.h"

namespace runtime {

namespace {

// uxtheme and dwmapi (windows and themes), cryptbase (advapi32 on 7), version and propsys
// (the shell), winmm, userenv and shcore (imported by the system DLLs the program uses).
const wchar_t* const kPreloaded[] = {L"uxtheme.dll", L"dwmapi.dll", L"cryptbase.dll", L"version.dll",
                                     L"propsys.dll", L"winmm.dll",  L"userenv.dll",   L"shcore.dll"};

}  // namespace

HMODULE loadSystemLibrary(const wchar_t* library) {
  if (HMODULE loaded = GetModuleHandleW(library)) return loaded;
  wchar_t path[MAX_PATH];
  const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
  const size_t name = lstrlenW(library);
  if (folder == 0 || folder + 1 + name >= MAX_PATH) return nullptr;
  path[folder] = L'\\';
  lstrcpyW(path + folder + 1, library);
  // By full path, with the dependencies looked for beside it (in the system folder) first.
  return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void preloadSystemLibraries() {
  for (const wchar_t* library : kPreloaded) loadSystemLibrary(library);
}

}  // namespace runtime
