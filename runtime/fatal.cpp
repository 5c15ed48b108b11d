#include "runtime/fatal.h"

#include <windows.h>

#include <cstdio>

namespace runtime {
namespace {

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
