// A program for the dispatch tests that run in a process of their own: it opens the window
// and then does what its argument names.
//   window   raise an event for a window that is not ours (fatal)
//   control  raise an event for a control that is not ours (fatal)
//   startup  open the start-up window while window creation is refused (fatal)
//   closed   raise an event for a control after the window is gone, a late timer notice (fatal)
//   fine     raise an event of a control that exists
//   created-closes  a handler of event 0 destroys the window; the start-up goes on quietly
//   close-closes    a handler of event 12 destroys the window; the close goes on quietly
#include <windows.h>

#include <cstring>
#include <optional>
#include <vector>

#include "runtime/program.h"
#include "ui/properties.h"
#include "ui/tests/recording_procedures.h"

namespace {

// Refuses the main window only; the error box must still be created.
LRESULT CALLBACK refuseCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const char* name = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszClass;
    if (!IS_INTRESOURCE(name) && std::strcmp(name, "QxMainWindow") == 0) return 1;  // CreateWindowEx fails
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::optional<int32_t> destroyTheWindow(const ui::EventNotice& notice) {
  DestroyWindow(notice.window);
  return std::nullopt;
}

// The recorders, with `procedure` running destroyTheWindow instead.
std::vector<ui::ProcedureRow> destroyingOn(ui::Procedure procedure) {
  std::vector<ui::ProcedureRow> table(ui::testing::recorders().begin(), ui::testing::recorders().end());
  std::erase_if(table, [&](const ui::ProcedureRow& row) { return row.procedure == procedure; });
  table.push_back(ui::ProcedureRow{procedure, &destroyTheWindow});
  return table;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  runtime::startRuntime();
  const char* mode = commandLine;
  if (std::strcmp(mode, "startup") == 0) {
    SetWindowsHookExA(WH_CBT, &refuseCreation, nullptr, GetCurrentThreadId());
    ui::openStartupWindow(ui::testing::recorders());
    return 3;  // not reached: the failure is fatal
  }
  if (std::strcmp(mode, "created-closes") == 0) {
    // Event 0 runs writeHelpDocument's identifier; events 3 and 4 follow it.
    ui::openStartupWindow(destroyingOn(ui::Procedure::WriteHelpDocument));
    return ui::mainWindow() == nullptr ? 0 : 4;
  }
  if (std::strcmp(mode, "close-closes") == 0) {
    // Event 12 gets a procedure of the probe's own; event 1 follows it.
    const auto closer = static_cast<ui::Procedure>(static_cast<int>(ui::kLastProcedure) + 1);
    ui::WindowLayout layout = ui::kMainWindowLayout;
    layout.window.bindings.back() = ui::EventBinding{ui::kWindowCloseRequested, closer};
    if (!ui::openWindow(layout, destroyingOn(closer))) return 5;
    SendMessageA(ui::mainWindow(), WM_CLOSE, 0, 0);
    return ui::mainWindow() == nullptr ? 0 : 6;
  }
  ui::openStartupWindow(ui::testing::recorders());
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
