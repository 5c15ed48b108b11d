// Button: a standard push button in the system's visual style; a click raises event 0.
#include "ui/control_kinds.h"
#include "ui/main_window.h"

namespace ui {
namespace {

constexpr int32_t kButtonPropertyCount = 14;

}  // namespace

Button::Button(const ControlLayout& row) : Control(ControlKind::Button, row.unitName, row.bindings, kButtonPropertyCount) {
  store(kButtonPicture, runtime::Text{});
  store(kButtonDefault, 0);
  store(kButtonCaption, runtime::Text(row.caption));
  store(kButtonHorizontal, row.style.horizontal);
  store(kButtonVertical, row.style.vertical);
  store(kButtonFont, fontRecord(row.style.font));
  font_ = createFont(text(kButtonFont));
}

DWORD Button::style() const {
  DWORD style = BS_MULTILINE | (number(kButtonDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  const int32_t horizontal = number(kButtonHorizontal);
  const int32_t vertical = number(kButtonVertical);
  style |= horizontal == kAlignLeft ? BS_LEFT : horizontal == kAlignRight ? BS_RIGHT : BS_CENTER;
  style |= vertical == kAlignTop ? BS_TOP : vertical == kAlignBottom ? BS_BOTTOM : BS_VCENTER;
  return style;
}

bool Button::create(MainWindow& window, const ControlLayout& row) {
  if (!createChild(window, row, "BUTTON", style(), 0, row.caption)) return false;
  subclass();
  HFONT font = font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return true;
}

void Button::command(WORD code) {
  if (code == BN_CLICKED) raise(kClicked);
}

void Button::apply(int32_t number) {
  switch (number) {
    case kButtonCaption:
      SetWindowTextW(hwnd_, runtime::toWide(text(kButtonCaption)).c_str());
      break;
    case kButtonFont:
      font_ = createFont(text(kButtonFont));
      SendMessageW(hwnd_, WM_SETFONT,
                   reinterpret_cast<WPARAM>(font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))),
                   TRUE);
      break;
    case kButtonDefault:
    case kButtonHorizontal:
    case kButtonVertical: {
      // BM_SETSTYLE replaces only the low word of the style (the button type).
      const DWORD full = (static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)) & ~0xFFFFu) | (style() & 0xFFFFu);
      SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>(full));
      SendMessageW(hwnd_, BM_SETSTYLE, style() & 0xFFFFu, TRUE);
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    }
    default:  // the picture is stored only
      break;
  }
}

}  // namespace ui
