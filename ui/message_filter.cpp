// The main window's message pre-filter: every message taken from the queue passes here before
// it is dispatched. It turns presses on the background and on labels into window moves and
// raises the common mouse and keyboard events of the control a message is addressed to.
#include "ui/control_kinds.h"
#include "ui/main_window.h"

namespace ui {
namespace {

enum class Arguments { Mouse, Key, Character, Wheel };

struct Route {
  UINT message;
  int32_t event;
  Arguments arguments;
};

constexpr Route kRoutes[] = {
    {WM_LBUTTONDOWN, kLeftButtonDown, Arguments::Mouse},
    {WM_LBUTTONUP, kLeftButtonUp, Arguments::Mouse},
    {WM_LBUTTONDBLCLK, kLeftButtonDoubleClick, Arguments::Mouse},
    {WM_RBUTTONDOWN, kRightButtonDown, Arguments::Mouse},
    {WM_RBUTTONUP, kRightButtonUp, Arguments::Mouse},
    {WM_MOUSEMOVE, kMouseMove, Arguments::Mouse},
    {WM_KEYDOWN, kKeyDown, Arguments::Key},
    {WM_SYSKEYDOWN, kKeyDown, Arguments::Key},
    {WM_KEYUP, kKeyUp, Arguments::Key},
    {WM_SYSKEYUP, kKeyUp, Arguments::Key},
    {WM_CHAR, kCharacter, Arguments::Character},
    {WM_MOUSEWHEEL, kMouseWheel, Arguments::Wheel},
};

const Route* routeOf(UINT message) {
  for (const Route& route : kRoutes) {
    if (route.message == message) return &route;
  }
  return nullptr;
}

EventNotice raiseCommon(Control& control, const Route& route, const MSG& message) {
  switch (route.arguments) {
    case Arguments::Mouse:  // the low and high 16 bits of the position, client coordinates
      return control.raise(route.event, {static_cast<short>(LOWORD(message.lParam)),
                                         static_cast<short>(HIWORD(message.lParam)), keyState()});
    case Arguments::Key:
      return control.raise(route.event, {static_cast<int32_t>(message.wParam), keyState()});
    case Arguments::Character:
      return control.raise(route.event, {static_cast<int32_t>(message.wParam)});
    case Arguments::Wheel:
      return control.raise(route.event, {static_cast<short>(HIWORD(message.wParam)) / WHEEL_DELTA, keyState()});
  }
  return EventNotice{};
}

// Esc during a splitter drag cancels it wherever the keyboard focus is.
bool cancelsSplitterDrag(MainWindow& window, const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE) return false;
  Control* holder = window.controlOf(GetCapture());
  if (!holder || holder->kind() != ControlKind::SplitterBar) return false;
  auto* bar = static_cast<SplitterBar*>(holder);
  if (!bar->dragging()) return false;
  bar->cancelDrag();
  return true;
}

// Tab and Shift+Tab move the focus along the tab stops in creation order, as in a dialog.
bool movesFocus(MainWindow& window, const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  HWND next = GetNextDlgTabItem(window.hwnd(), GetFocus(), GetKeyState(VK_SHIFT) < 0);
  if (next) SetFocus(next);
  return true;
}

}  // namespace

bool filterMessage(MSG& message) {
  MainWindow* window = currentWindow();
  if (!window || !window->hwnd() || !message.hwnd) return false;
  if (cancelsSplitterDrag(*window, message)) return true;
  Control* control = window->controlOf(message.hwnd);
  if (!control) return false;

  if (message.message == WM_LBUTTONDOWN && window->dragByAnyPoint() &&
      (control == window || control->kind() == ControlKind::Label)) {
    // A press on the title bar, as the system sees it, starts the usual window move.
    PostMessageW(window->hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(message.pt.x, message.pt.y));
    return control != window;  // swallowed on a label; on the background it goes on as usual
  }

  const Route* route = routeOf(message.message);
  if (!route) return false;
  const EventNotice notice = raiseCommon(*control, *route, message);
  if (refused(notice)) return true;
  if (route->event == kCharacter && notice.hasResult) message.wParam = static_cast<WPARAM>(notice.result);
  return movesFocus(*window, message);
}

}  // namespace ui
