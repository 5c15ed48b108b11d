// Stands in for the game in the end-to-end tests: started, it leaves "started.txt" beside
// itself and ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t path[MAX_PATH + 16] = {};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  while (length > 0 && path[length - 1] != L'\\') --length;
  lstrcpyW(path + length, L"started.txt");
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, "started", 7, &written, nullptr);
    CloseHandle(file);
  }
  return 0;
}
