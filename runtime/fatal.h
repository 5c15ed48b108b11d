// Fatal run-time errors: one box titled "错误" with the error icon, then exit code -1 without
// running the clean-up list.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/text.h"

namespace runtime {

[[noreturn]] void fatalError(int32_t code, const Text& message);
// "运行时出错!" and a line end; then, for a non-zero code, a blank line and "错误代码：" with
// the code; then, for a message, a blank line and "错误信息：" with the message; each of those
// followed by a line end.
Text fatalErrorText(int32_t code, const Text& message);

[[noreturn]] void fatalOutOfMemory(size_t bytes);
[[noreturn]] void fatalMissingExport(const char* library, const char* function);
[[noreturn]] void fatalStartupWindow();

}  // namespace runtime
