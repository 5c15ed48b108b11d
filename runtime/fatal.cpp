#include "runtime/fatal.h"

#include <windows.h>

#include <cstdio>

#include "runtime/program.h"

namespace runtime {
namespace {

bool reporting = false;

// Which queued messages are the program's: everything addressed to its windows and their
// children except WM_PAINT (painting runs no program procedure, and a paint left unvalidated
// would be generated again at once), and every timer tick without a window, whose callback
// DispatchMessage would call.
bool isProgramMessage(const MSG& message) {
  if (message.message == WM_QUIT) return false;
  if (message.hwnd == nullptr) return message.message == WM_TIMER;
  return message.message != WM_PAINT && isProgramWindow(message.hwnd);
}

// Installed for the thread while the box is shown: the program's messages reach the box's
// modal loop as WM_NULL, which the window procedures ignore and which calls no timer callback.
LRESULT CALLBACK quietenProgramMessages(int code, WPARAM removal, LPARAM parameter) {
  if (code == HC_ACTION && removal == PM_REMOVE) {
    MSG& message = *reinterpret_cast<MSG*>(parameter);
    if (isProgramMessage(message)) message.message = WM_NULL;
  }
  return CallNextHookEx(nullptr, code, removal, parameter);
}

// The fatal path formats into a fixed buffer: it may run because memory ran out.
void formatFatalText(char* out, size_t capacity, int32_t code, const char* message) {
  int used = std::snprintf(out, capacity, "运行时出错!\r\n");
  if (code != 0 && used >= 0 && static_cast<size_t>(used) < capacity) {
    used += std::snprintf(out + used, capacity - used, "\r\n错误代码：%d\r\n", static_cast<int>(code));
  }
  if (message != nullptr && message[0] != '\0' && used >= 0 && static_cast<size_t>(used) < capacity) {
    std::snprintf(out + used, capacity - used, "\r\n错误信息：%s\r\n", message);
  }
}

[[noreturn]] void showAndExit(int32_t code, const char* message) {
  // Nothing of the program runs under the first box, so a second error can only come from
  // the system's side of it (memory running out while it paints): no second box.
  if (reporting) ExitProcess(static_cast<UINT>(-1));
  reporting = true;
  SetWindowsHookExA(WH_GETMESSAGE, quietenProgramMessages, nullptr, GetCurrentThreadId());
  static char text[2048];
  formatFatalText(text, sizeof text, code, message);
  MessageBoxA(nullptr, text, "错误", MB_ICONERROR | MB_TASKMODAL);
  // The clean-up list is discarded: ExitProcess runs none of it.
  ExitProcess(static_cast<UINT>(-1));
}

}  // namespace

Text fatalErrorText(int32_t code, const Text& message) {
  char text[2048];
  formatFatalText(text, sizeof text, code, message.c_str());
  return Text(text);
}

bool fatalErrorReported() {
  return reporting;
}

void fatalError(int32_t code, const Text& message) {
  showAndExit(code, message.c_str());
}

void fatalOutOfMemory(size_t bytes) {
  static char message[128];
  std::snprintf(message, sizeof message, "分配 %d 字节内存失败!", static_cast<int>(bytes));
  showAndExit(0, message);
}

void fatalMissingExport(const char* library, const char* function) {
  static char message[600];
  if (library != nullptr && library[0] != '\0') {
    std::snprintf(message, sizeof message, "无法找到指定DLL库文件“%s”中的输出命令“%s”", library, function);
  } else {
    std::snprintf(message, sizeof message, "无法找到指定DLL库文件中的输出命令“%s”", function);
  }
  showAndExit(0, message);
}

void fatalStartupWindow() {
  showAndExit(0, "载入启动窗口失败");
}

}  // namespace runtime
