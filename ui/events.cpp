// Raising an event: the binding of (control, event) names a procedure, the window's table of
// procedures gives its handler.
#include "ui/events.h"

#include "runtime/fatal.h"
#include "ui/main_window.h"

namespace ui {

bool raiseEvent(EventNotice& notice) {
  notice.hasResult = false;
  notice.result = 0;
  if (runtime::fatalErrorReported()) return false;  // no program code under a fatal error's box
  MainWindow* window = currentWindow();
  if (!window || !notice.window || window->hwnd() != notice.window) runtime::fatalError(0, "未找到引发事件的窗口");
  Control* control = notice.control ? window->controlOf(notice.control) : window;
  if (!control) runtime::fatalError(0, "未找到引发事件的窗口组件");
  const EventHandler handler = window->handlerOf(control->procedureFor(notice.event));
  if (!handler) return false;
  const std::optional<int32_t> result = handler(notice);
  notice.hasResult = result.has_value();
  notice.result = result.value_or(0);
  return true;
}

}  // namespace ui
