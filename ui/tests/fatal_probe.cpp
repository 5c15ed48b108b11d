// A program for the dispatch tests that run in a process of their own: it opens the window
// and then does what its argument names.
//   window   raise an event for a window that is not ours (fatal)
//   control  raise an event for a control that is not ours (fatal)
//   startup  open the start-up window while window creation is refused (fatal)
//   closed   raise an event for a control after the window is gone, a late timer notice (fatal)
//   fine     raise an event of a control that exists
//   created-closes  a handler of event 0 destroys the window; the start-up goes on quietly
//   close-closes    a handler of event 12 destroys the window; the close goes on quietly
//   busy FILE  raise an event for a window that is not ours while both timers tick every
//            10 ms, and send a click of 按钮2 from another thread while the box is shown;
//            FILE receives every procedure that ran after the error, one a line (fatal)
#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "runtime/program.h"
#include "ui/properties.h"
#include "ui/tests/recording_procedures.h"

namespace {

// "busy": the procedures logged before the error, the file for those after it, and the
// window that writes them (not a window of the program: its sent messages are the probe's).
size_t loggedBeforeError = 0;
std::string busyLogPath;
HWND reporter = nullptr;

LRESULT CALLBACK reportProcedures(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message != WM_APP) return DefWindowProcA(window, message, w, l);
  const std::vector<std::string>& log = ui::testing::procedureLog();
  std::string lines;
  for (size_t i = loggedBeforeError; i < log.size(); ++i) lines += log[i] + "\n";
  HANDLE file = CreateFileA(busyLogPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
    CloseHandle(file);
  }
  return 0;
}

BOOL CALLBACK findOwnBox(HWND window, LPARAM found) {
  char name[16] = {};
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  GetClassNameA(window, name, sizeof name);
  if (process != GetCurrentProcessId() || std::strcmp(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Waits for the error box, clicks 按钮2 through a sent WM_COMMAND (the way a button reports a
// click to its window), lets the timers tick, then has the procedures written.
DWORD WINAPI clickUnderTheBox(void*) {
  HWND box = nullptr;
  for (int i = 0; i < 800 && box == nullptr; ++i) {
    EnumWindows(findOwnBox, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr) Sleep(25);
  }
  HWND button = ui::controlWindow("按钮2");
  SendMessageA(ui::mainWindow(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
  Sleep(600);
  SendMessageA(reporter, WM_APP, 0, 0);
  return 0;
}

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
  if (std::strncmp(mode, "busy ", 5) == 0) {
    busyLogPath = mode + 5;
    WNDCLASSA reporterClass{};
    reporterClass.lpfnWndProc = reportProcedures;
    reporterClass.hInstance = GetModuleHandleA(nullptr);
    reporterClass.lpszClassName = "FatalProbeReporter";
    RegisterClassA(&reporterClass);
    reporter = CreateWindowA("FatalProbeReporter", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                             nullptr);
    ui::setProperty("时钟1", ui::kTimerInterval, int32_t{10});
    ui::setProperty("时钟2", ui::kTimerInterval, int32_t{10});
    CloseHandle(CreateThread(nullptr, 0, clickUnderTheBox, nullptr, 0, nullptr));
    loggedBeforeError = ui::testing::procedureLog().size();
    notice.window = GetDesktopWindow();
  } else if (std::strcmp(mode, "window") == 0) {
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
