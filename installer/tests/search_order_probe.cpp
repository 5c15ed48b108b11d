// The control of the planted-DLL test: loads each DLL named on its command line by name
// alone, with the search order the process starts with, and exits. Placed beside planted
// DLLs, it shows that they are found first where nothing restricts the search. With "preload"
// first, it loads the system DLLs that the program loads from the system folder where the
// search cannot be restricted (runtime::preloadSystemLibraries) before the others.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "runtime/system_libraries.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int first = 1;
  if (__argc > 1 && std::strcmp(__argv[1], "preload") == 0) {
    runtime::preloadSystemLibraries();
    first = 2;
  }
  for (int i = first; i < __argc; ++i) LoadLibraryA(__argv[i]);
  return 0;
}
