// Stands in for the game in the end-to-end tests: started, it leaves "started.txt" beside
// itself and ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  while (length > 0 && path[length - 1] != '\\') --length;
  lstrcpyA(path + length, "started.txt");
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, "started", 7, &written, nullptr);
    CloseHandle(file);
  }
  return 0;
}
