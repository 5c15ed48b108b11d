#include "runtime/shell.h"

#include <windows.h>
#include <shellapi.h>

namespace runtime {

const char* shellVerb(std::optional<int32_t> verb) {
  static const char* const kVerbs[] = {"edit", "explore", "find", "open", "print"};
  if (!verb || *verb < 1 || *verb > 5) return nullptr;
  return kVerbs[*verb - 1];
}

int shellShowCommand(std::optional<int32_t> show) {
  static const int kShowCommands[] = {SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED,
                                      SW_SHOWMAXIMIZED, SW_SHOWNA, SW_MINIMIZE};
  if (!show || *show < 1 || *show > 6) return SW_SHOWNORMAL;
  return kShowCommands[*show - 1];
}

void shellExecute(std::optional<int32_t> verb, const Text& file, std::optional<Text> parameters,
                  std::optional<Text> folder, std::optional<int32_t> show) {
  const Text directory = folder ? *folder : Text();
  ShellExecuteA(nullptr, shellVerb(verb), file.c_str(), parameters ? parameters->c_str() : nullptr,
                directory.c_str(), shellShowCommand(show));
}

}  // namespace runtime
