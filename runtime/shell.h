// Starting files through the shell.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/text.h"

namespace runtime {

// ShellExecuteW with no owner. Verb 1 edit, 2 explore, 3 find, 4 open, 5 print, otherwise
// none (the default action); show 1..6 map to SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED,
// SW_SHOWMAXIMIZED, SW_SHOWNA, SW_MINIMIZE, otherwise SW_SHOWNORMAL. The outcome is not
// reported.
void shellExecute(std::optional<int32_t> verb, const Text& file,
                  std::optional<Text> parameters = std::nullopt,
                  std::optional<Text> folder = std::nullopt,
                  std::optional<int32_t> show = std::nullopt);

// The two mapping tables, for tests: nullptr for "no verb".
const wchar_t* shellVerb(std::optional<int32_t> verb);
int shellShowCommand(std::optional<int32_t> show);

}  // namespace runtime
