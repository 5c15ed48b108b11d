// A program for the dispatch tests that must end the process: it opens the window and then
// does what its argument names.
//   window   raise an event for a window that is not ours
//   control  raise an event for a control that is not ours
//   startup  open the start-up window while window creation is refused
//   closed   raise an event for a control after the window is gone (a late timer notice)
#include <windows.h>

#include <cstring>

#include "runtime/program.h"
#include "ui/properties.h"

namespace {

// Refuses the main window only; the error box must still be created.
LRESULT CALLBACK refuseCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const char* name = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszClass;
    if (!IS_INTRESOURCE(name) && std::strcmp(name, "QxMainWindow") == 0) return 1;  // CreateWindowEx fails
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  runtime::startRuntime();
  const char* mode = commandLine;
  if (std::strcmp(mode, "startup") == 0) {
    SetWindowsHookExA(WH_CBT, &refuseCreation, nullptr, GetCurrentThreadId());
    ui::openStartupWindow();
    return 3;  // not reached: the failure is fatal
  }
  ui::openStartupWindow();
  ui::EventNotice notice;
  notice.event = ui::kLeftButtonDown;
  if (std::strcmp(mode, "window") == 0) {
    notice.window = GetDesktopWindow();
  } else if (std::strcmp(mode, "control") == 0) {
    notice.window = ui::mainWindow();
    notice.control = GetDesktopWindow();
  } else if (std::strcmp(mode, "closed") == 0) {
    notice.window = ui::mainWindow();
    notice.control = ui::controlWindow("时钟2");
    DestroyWindow(ui::mainWindow());
  } else {
    notice.window = ui::mainWindow();
    notice.control = ui::controlWindow("透明标签6");
  }
  ui::raiseEvent(notice);
  return 0;
}
