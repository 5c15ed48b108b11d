#include "runtime/program.h"

#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/events.h"

namespace runtime {
namespace {

struct ModalDisabled {
  HWND modal;
  std::vector<HWND> disabled;
};

struct Frame {
  bool started = false;
  Text runDirectory;
  HCURSOR arrow = nullptr;
  std::vector<CleanupProcedure> cleanup;
  std::vector<HWND> windows;
  std::vector<HWND> closing;
  std::vector<ModalDisabled> modalShows;
  IdleHandler idle = nullptr;
  bool mainLoopRunning = false;
};

Frame& frame() {
  static Frame instance;
  return instance;
}

Text modulePath() {
  // A path that fills the buffer was cut: try again with a larger one.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size() || buffer.size() >= 32768) {
      buffer.resize(length < buffer.size() ? length : 0);
      return toUtf8(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

template <class T>
void eraseValue(std::vector<T>& values, const T& value) {
  values.erase(std::remove(values.begin(), values.end(), value), values.end());
}

}  // namespace

Text directoryOfModulePath(const Text& path) {
  // UTF-8: no byte of a multi-byte character is a backslash.
  const size_t cut = path.find_last_of('\\');
  return cut == Text::npos ? Text() : path.substr(0, cut);
}

void startRuntime() {
  Frame& f = frame();
  if (f.started) return;
  f.started = true;
  const UINT mode = SetErrorMode(0);
  SetErrorMode(mode | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  OleInitialize(nullptr);
  f.runDirectory = directoryOfModulePath(modulePath());
  // A bare drive ("D:") names that drive's current folder, not its root: say the root.
  const Text current = (!f.runDirectory.empty() && f.runDirectory.back() == ':')
                           ? f.runDirectory + "\\" : f.runDirectory;
  if (!current.empty()) SetCurrentDirectoryW(toWide(current).c_str());
  f.arrow = LoadCursor(nullptr, IDC_ARROW);
}

Text runDirectory() {
  Frame& f = frame();
  if (!f.started && f.runDirectory.empty()) f.runDirectory = directoryOfModulePath(modulePath());
  return f.runDirectory;
}

HCURSOR arrowCursor() {
  Frame& f = frame();
  if (f.arrow == nullptr) f.arrow = LoadCursor(nullptr, IDC_ARROW);
  return f.arrow;
}

void registerCleanup(CleanupProcedure procedure) {
  std::vector<CleanupProcedure>& list = frame().cleanup;
  if (procedure != nullptr && std::find(list.begin(), list.end(), procedure) == list.end()) {
    list.push_back(procedure);
  }
}

void runCleanup() {
  std::vector<CleanupProcedure> list;
  list.swap(frame().cleanup);
  for (CleanupProcedure procedure : list) procedure();
}

void registerProgramWindow(HWND window) {
  std::vector<HWND>& windows = frame().windows;
  if (std::find(windows.begin(), windows.end(), window) == windows.end()) windows.push_back(window);
}

void programWindowDestroyed(HWND window) {
  Frame& f = frame();
  const size_t before = f.windows.size();
  eraseValue(f.windows, window);
  eraseValue(f.closing, window);
  if (before != f.windows.size() && f.windows.empty() && f.mainLoopRunning) PostQuitMessage(0);
}

int programWindowCount() {
  return static_cast<int>(frame().windows.size());
}

bool isProgramWindow(HWND window) {
  const HWND root = GetAncestor(window, GA_ROOT);
  const std::vector<HWND>& windows = frame().windows;
  return root != nullptr && std::find(windows.begin(), windows.end(), root) != windows.end();
}

void destroyWindow(HWND window) {
  if (!IsWindow(window)) return;
  std::vector<HWND>& closing = frame().closing;
  if (std::find(closing.begin(), closing.end(), window) == closing.end()) closing.push_back(window);
  PostMessageW(window, kDestroyRequestMessage, 0, 0);
}

bool isClosing(HWND window) {
  const std::vector<HWND>& closing = frame().closing;
  return std::find(closing.begin(), closing.end(), window) != closing.end();
}

void disableForModal(HWND modalWindow) {
  Frame& f = frame();
  ModalDisabled show{modalWindow, {}};
  for (HWND window : f.windows) {
    if (window != modalWindow && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      show.disabled.push_back(window);
    }
  }
  f.modalShows.push_back(show);
}

bool handleDestroyRequest(HWND window, UINT message) {
  if (message != kDestroyRequestMessage || !isClosing(window)) return false;
  Frame& f = frame();
  eraseValue(f.closing, window);
  for (auto it = f.modalShows.begin(); it != f.modalShows.end();) {
    if (it->modal == window) {
      for (HWND disabled : it->disabled) {
        if (IsWindow(disabled)) EnableWindow(disabled, TRUE);
      }
      it = f.modalShows.erase(it);
    } else {
      ++it;
    }
  }
  DestroyWindow(window);
  return true;
}

void setIdleHandler(IdleHandler handler) {
  frame().idle = handler;
}

bool isMainLoopRunning() {
  return frame().mainLoopRunning;
}

void runMessageLoop() {
  Frame& f = frame();
  f.mainLoopRunning = true;
  if (f.windows.empty()) return;
  for (;;) {
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && f.idle != nullptr) f.idle();
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    dispatchMessage(message);
  }
}

void exitProgram() {
  runCleanup();
  OleUninitialize();
  ExitProcess(0);
}

}  // namespace runtime
