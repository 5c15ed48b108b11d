#include "runtime/shell.h"

#include <windows.h>
#include <shellapi.h>

namespace runtime {

const wchar_t* shellVerb(std::optional<int32_t> verb) {
  static const wchar_t* const kVerbs[] = {L"edit", L"explore", L"find", L"open", L"print"};
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
  const std::wstring directory = folder ? toWide(*folder) : std::wstring();
  const std::wstring arguments = parameters ? toWide(*parameters) : std::wstring();
  ShellExecuteW(nullptr, shellVerb(verb), toWide(file).c_str(), parameters ? arguments.c_str() : nullptr,
                directory.c_str(), shellShowCommand(show));
}

}  // namespace runtime
