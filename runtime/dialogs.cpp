#include "runtime/dialogs.h"

namespace runtime {

UINT messageBoxStyle(int32_t style) {
  const UINT bits = static_cast<UINT>(style);
  return (bits & MB_SYSTEMMODAL) ? bits : (bits | MB_TASKMODAL);
}

MessageBoxResult mapMessageBoxAnswer(int answer, int32_t style) {
  // Escape on an OK-only box: Windows answers IDOK, Wine IDCANCEL; the box has one answer.
  if (answer == IDCANCEL && (static_cast<UINT>(style) & MB_TYPEMASK) == MB_OK) return kResultOk;
  switch (answer) {
    case IDOK: return kResultOk;
    case IDCANCEL: return kResultCancel;
    case IDABORT: return kResultAbort;
    case IDRETRY: return kResultRetry;
    case IDIGNORE: return kResultIgnore;
    case IDYES: return kResultYes;
    case IDNO: return kResultNo;
    default: return kResultOk;
  }
}

MessageBoxResult messageBox(const Text& content, int32_t style, std::optional<Text> title,
                            std::optional<HWND> owner) {
  const Text caption = title ? *title : Text("信息：");
  const HWND ownerWindow = owner ? *owner : nullptr;
  const int answer =
      MessageBoxW(ownerWindow, toWide(content).c_str(), toWide(caption).c_str(), messageBoxStyle(style));
  return mapMessageBoxAnswer(answer, style);
}

}  // namespace runtime
