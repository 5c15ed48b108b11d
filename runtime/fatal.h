// Fatal run-time errors: one box titled "错误" with the error icon, then exit code -1 without
// running the clean-up list. While the box is shown no program code runs: the box's modal
// loop gets the program's queued messages (its windows' posted messages and timer ticks,
// timer callbacks) as WM_NULL, and the window framework raises no events
// (fatalErrorReported). A second fatal error in that time ends the process at once.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/text.h"

namespace runtime {

[[noreturn]] void fatalError(int32_t code, const Text& message);
// True from the moment a fatal error is being reported.
bool fatalErrorReported();
// "运行时出错!" and a line end; then, for a non-zero code, a blank line and "错误代码：" with
// the code; then, for a message, a blank line and "错误信息：" with the message; each of those
// followed by a line end.
Text fatalErrorText(int32_t code, const Text& message);

[[noreturn]] void fatalOutOfMemory(size_t bytes);
[[noreturn]] void fatalMissingExport(const char* library, const char* function);
[[noreturn]] void fatalStartupWindow();

}  // namespace runtime
