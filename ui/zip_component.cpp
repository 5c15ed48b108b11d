// The archive component: an invisible child window; the extractor raises its progress event
// (event 1, one argument: the percentage) through the ordinary event dispatch.
#include "ui/control_kinds.h"
#include "ui/main_window.h"

namespace ui {

ZipComponent::ZipComponent(const ControlLayout& row) : Control(ControlKind::Zip, row.unitName, row.bindings, 8) {}

bool ZipComponent::create(MainWindow& window, const ControlLayout& row) {
  return createChild(window, row, kHiddenClass, 0, 0, "");
}

bool ZipComponent::windowExists() const { return hwnd_ != nullptr && IsWindow(hwnd_); }

unzip::EventOutcome ZipComponent::raiseProgressEvent(int32_t percent) {
  bool ran = false;
  const EventNotice notice = raise(kProgress, {percent}, &ran);
  return unzip::EventOutcome{ran, notice.hasResult, notice.result};
}

}  // namespace ui
