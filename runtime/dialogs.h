// Message boxes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "runtime/text.h"

namespace runtime {

// The button that closed a message box.
enum MessageBoxResult : int32_t {
  kResultOk = 0,
  kResultCancel = 1,
  kResultAbort = 2,
  kResultRetry = 3,
  kResultIgnore = 4,
  kResultYes = 5,
  kResultNo = 6,
};

// MessageBoxW with the style made task-modal unless it asks for system-modal; the title
// defaults to "信息：" and the box has an owner only when one is given.
MessageBoxResult messageBox(const Text& content, int32_t style,
                            std::optional<Text> title = std::nullopt,
                            std::optional<HWND> owner = std::nullopt);

// The pieces of messageBox, for tests.
UINT messageBoxStyle(int32_t style);
// IDOK 0, IDCANCEL 1, IDABORT 2, IDRETRY 3, IDIGNORE 4, IDYES 5, IDNO 6, anything else 0.
MessageBoxResult mapMessageBoxAnswer(int answer, int32_t style);

}  // namespace runtime
