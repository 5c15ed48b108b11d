// A program for the frame tests: each mode exercises one ending of a process.
//   loop MARKER     a window destroyed through destroyWindow ends the loop; exit code 0
//   fatal MARKER    a system function that cannot be bound: fatal error, exit code -1
//   delay-export MARKER, delay-library MARKER  the same for a function bound by the C
//                   runtime's delay-load helper: one kernel32 does not export, one of a DLL
//                   that is nowhere
//   fatal-busy MARKER  the same with the program's timers ticking every 10 ms, a message
//                   posted to its window and its destruction requested: none of it may run
//                   while the box is shown (a timer callback would raise a second error)
//   rundir OUT      writes "runDirectory|current directory" to OUT, in UTF-8
// MARKER receives one line per clean-up procedure run.
#include <windows.h>

#include <cstring>

#include "runtime/fatal.h"
#include "runtime/files.h"
#include "runtime/program.h"
#include "runtime/system_functions.h"

// Delay-imported (runtime/CMakeLists.txt): neither can be bound.
extern "C" void WINAPI QxNoSuchExport();
extern "C" void WINAPI QxFunctionOfNoLibrary();

namespace {

const char* markerPath = nullptr;

void appendMarker(const char* line) {
  HANDLE file = CreateFileA(markerPath, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
  CloseHandle(file);
}

void firstCleanup() { appendMarker("first\n"); }
void secondCleanup() { appendMarker("second\n"); }

void CALLBACK timerCallback(HWND, UINT, UINT_PTR, DWORD) {
  appendMarker("timer callback\n");
  runtime::fatalError(0, "second");
}

LRESULT CALLBACK probeWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_TIMER || message == WM_APP) appendMarker("window message\n");
  if (runtime::handleDestroyRequest(window, message)) return 0;
  if (message == WM_NCDESTROY) runtime::programWindowDestroyed(window);
  return DefWindowProcA(window, message, w, l);
}

HWND createProbeWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = probeWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "RuntimeProbeWindow";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA("RuntimeProbeWindow", "probe", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  runtime::registerProgramWindow(window);
  return window;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int argc = __argc;
  char** argv = __argv;
  if (argc < 3) return 2;
  const char* mode = argv[1];
  markerPath = argv[2];
  runtime::startRuntime();

  if (std::strcmp(mode, "loop") == 0) {
    runtime::registerCleanup(firstCleanup);
    runtime::registerCleanup(secondCleanup);
    runtime::registerCleanup(firstCleanup);  // already listed: not added again
    HWND window = createProbeWindow();
    runtime::destroyWindow(window);
    if (!IsWindow(window)) appendMarker("destroyed too early\n");
    runtime::runMessageLoop();
    appendMarker("loop ended\n");
    runtime::exitProgram();
  }
  if (std::strcmp(mode, "delay-export") == 0 || std::strcmp(mode, "delay-library") == 0) {
    runtime::registerCleanup(firstCleanup);
    if (std::strcmp(mode, "delay-export") == 0) {
      QxNoSuchExport();
    } else {
      QxFunctionOfNoLibrary();
    }
    appendMarker("survived\n");
    return 0;
  }
  if (std::strcmp(mode, "fatal") == 0 || std::strcmp(mode, "fatal-busy") == 0) {
    runtime::registerCleanup(firstCleanup);
    if (std::strcmp(mode, "fatal-busy") == 0) {
      HWND window = createProbeWindow();
      SetTimer(window, 1, 10, nullptr);
      SetTimer(window, 2, 10, timerCallback);
      SetTimer(nullptr, 0, 10, timerCallback);
      PostMessageA(window, WM_APP, 0, 0);
      runtime::destroyWindow(window);  // dispatched, it would end the main loop and the box
    }
    runtime::bindSystemFunction("kernel32.dll", "NoSuchFunctionA");
    appendMarker("survived\n");
    return 0;
  }
  if (std::strcmp(mode, "rundir") == 0) {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    const runtime::Text line = runtime::runDirectory() + "|" + runtime::toUtf8(current);
    runtime::writeFile(markerPath, {runtime::ByteView{reinterpret_cast<const uint8_t*>(line.data()),
                                                     static_cast<int32_t>(line.size())}});
    return 0;
  }
  return 2;
}
