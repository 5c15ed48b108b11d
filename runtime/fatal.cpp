#include "runtime/fatal.h"

#include <windows.h>

#include <string>

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

// The fatal path formats into fixed buffers, wide from the start: it may run because memory
// ran out, so nothing on the way to the box allocates.
class FixedWideText {
 public:
  FixedWideText(wchar_t* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) { buffer_[0] = L'\0'; }
  FixedWideText& operator<<(const wchar_t* part) {
    while (*part != L'\0' && used_ + 1 < capacity_) buffer_[used_++] = *part++;
    buffer_[used_] = L'\0';
    return *this;
  }
  FixedWideText& operator<<(long long number) {
    wchar_t digits[24];
    wchar_t* p = digits + 23;
    *p = L'\0';
    unsigned long long magnitude = number < 0 ? 0ull - static_cast<unsigned long long>(number) : number;
    do {
      *--p = static_cast<wchar_t>(L'0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    if (number < 0) *--p = L'-';
    return *this << static_cast<const wchar_t*>(p);
  }

 private:
  wchar_t* buffer_;
  size_t capacity_;
  size_t used_ = 0;
};

void formatFatalText(wchar_t* out, size_t capacity, int32_t code, const wchar_t* message) {
  FixedWideText text(out, capacity);
  text << L"运行时出错!\r\n";
  if (code != 0) text << L"\r\n错误代码：" << static_cast<long long>(code) << L"\r\n";
  if (message != nullptr && message[0] != L'\0') text << L"\r\n错误信息：" << message << L"\r\n";
}

[[noreturn]] void showAndExit(int32_t code, const wchar_t* message) {
  // Nothing of the program runs under the first box, so a second error can only come from
  // the system's side of it (memory running out while it paints): no second box.
  if (reporting) ExitProcess(static_cast<UINT>(-1));
  reporting = true;
  SetWindowsHookExW(WH_GETMESSAGE, quietenProgramMessages, nullptr, GetCurrentThreadId());
  static wchar_t text[2048];
  formatFatalText(text, sizeof text / sizeof text[0], code, message);
  MessageBoxW(nullptr, text, L"错误", MB_ICONERROR | MB_TASKMODAL);
  // The clean-up list is discarded: ExitProcess runs none of it.
  ExitProcess(static_cast<UINT>(-1));
}

}  // namespace

Text fatalErrorText(int32_t code, const Text& message) {
  wchar_t text[2048];
  formatFatalText(text, sizeof text / sizeof text[0], code, toWide(message).c_str());
  return toUtf8(text);
}

bool fatalErrorReported() {
  return reporting;
}

void fatalError(int32_t code, const Text& message) {
  showAndExit(code, toWide(message).c_str());
}

void fatalOutOfMemory(size_t bytes) {
  static wchar_t message[128];
  FixedWideText(message, sizeof message / sizeof message[0])
      << L"分配 " << static_cast<long long>(static_cast<int>(bytes)) << L" 字节内存失败!";
  showAndExit(0, message);
}

void fatalMissingExport(const char* library, const char* function) {
  // Names from an import table or the program's own calls: no memory shortage behind them.
  const std::wstring wideFunction = toWide(function != nullptr ? function : "");
  if (library != nullptr && library[0] != '\0') {
    const std::wstring wideLibrary = toWide(library);
    static wchar_t message[600];
    FixedWideText(message, sizeof message / sizeof message[0])
        << L"无法找到指定DLL库文件“" << wideLibrary.c_str() << L"”中的输出命令“" << wideFunction.c_str() << L"”";
    showAndExit(0, message);
  }
  static wchar_t message[600];
  FixedWideText(message, sizeof message / sizeof message[0])
      << L"无法找到指定DLL库文件中的输出命令“" << wideFunction.c_str() << L"”";
  showAndExit(0, message);
}

void fatalStartupWindow() {
  showAndExit(0, L"载入启动窗口失败");
}

}  // namespace runtime
