// The control of the planted-DLL test: loads each DLL named on its command line by name
// alone, with the search order the process starts with, and exits. Placed beside planted
// DLLs, it shows that they are found first where nothing restricts the search.
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  for (int i = 1; i < __argc; ++i) LoadLibraryA(__argv[i]);
  return 0;
}
