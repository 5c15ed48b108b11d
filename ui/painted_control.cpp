#include "ui/control_kinds.h"

namespace ui {

LRESULT PaintedControl::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint routine decides what is drawn where
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PaintDc dc(hwnd_, message, wParam);
      paint(dc.get());
      return 0;
    }
    default:
      return Control::handleMessage(message, wParam, lParam);
  }
}

}  // namespace ui
