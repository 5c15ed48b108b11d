// EditBox: a single-line Unicode edit control that scrolls horizontally; its content is its
// window text, held in UTF-8.
#include <string>

#include "ui/control_kinds.h"
#include "ui/main_window.h"

namespace ui {
namespace {

constexpr int32_t kEditBoxPropertyCount = 29;

}  // namespace

EditBox::EditBox(const ControlLayout& row) : Control(ControlKind::EditBox, row.unitName, row.bindings, kEditBoxPropertyCount) {
  store(kEditBoxContent, runtime::Text(row.caption));
  store(kEditBoxTextColour, static_cast<int32_t>(row.style.textColour));
  store(kEditBoxBackColour, static_cast<int32_t>(row.backColour));
  store(kEditBoxFont, fontRecord(row.style.font));
  store(kEditBoxHideSelection, 1);
  store(kEditBoxPasswordCharacter, int32_t{'*'});
  store(23, 100);
  store(26, runtime::Text{});
  store(27, runtime::Text{});
  store(28, runtime::Text{});
  font_ = createFont(text(kEditBoxFont));
}

bool EditBox::create(MainWindow& window, const ControlLayout& row) {
  // No border, no scroll bars; the selection is hidden when the box loses the focus.
  if (!createChild(window, row, "EDIT", ES_LEFT | ES_AUTOHSCROLL, 0, row.caption)) return false;
  subclass();
  HFONT font = font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // Without this a single-line box stops taking input at 32,767 characters; 0 lifts the limit.
  SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
  return true;
}

Value EditBox::liveValue(int32_t number) {
  if (number != kEditBoxContent || !hwnd_ || !IsWindow(hwnd_)) return Control::liveValue(number);
  // The length may be larger than the text (documented), so the units copied decide.
  const int capacity = GetWindowTextLengthW(hwnd_) + 1;
  std::wstring content(static_cast<size_t>(capacity), L'\0');
  const int copied = GetWindowTextW(hwnd_, content.data(), capacity);
  content.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return Value{runtime::toUtf8(content)};
}

void EditBox::apply(int32_t number) {
  switch (number) {
    case kEditBoxContent:
      settingContent_ = true;  // the box's own change notice is replaced by the one below
      SetWindowTextW(hwnd_, runtime::toWide(text(kEditBoxContent)).c_str());
      settingContent_ = false;
      raise(kContentChanged);
      break;
    case kEditBoxTextColour:
    case kEditBoxBackColour:
      background_.reset();
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    case kEditBoxFont:
      font_ = createFont(text(kEditBoxFont));
      SendMessageW(hwnd_, WM_SETFONT,
                   reinterpret_cast<WPARAM>(font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))),
                   TRUE);
      break;
    case kEditBoxMaximumLength: {
      const int32_t limit = this->number(kEditBoxMaximumLength);
      SendMessageW(hwnd_, EM_SETLIMITTEXT, limit > 0 ? static_cast<WPARAM>(limit) : 0, 0);
      break;
    }
    case kEditBoxInputMode:
    case kEditBoxPasswordCharacter: {
      const int32_t mode = this->number(kEditBoxInputMode);
      SendMessageW(hwnd_, EM_SETREADONLY, mode == 1, 0);
      SendMessageW(hwnd_, EM_SETPASSWORDCHAR, mode == 2 ? static_cast<WPARAM>(this->number(kEditBoxPasswordCharacter) & 0xFFFF) : 0, 0);
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    }
    default:  // the other settings are fixed when the box is created and stored only
      break;
  }
}

void EditBox::command(WORD code) {
  if (code == EN_CHANGE && !settingContent_) raise(kContentChanged);
}

HBRUSH EditBox::colours(HDC dc) {
  const COLORREF back = resolveColour(static_cast<DWORD>(number(kEditBoxBackColour)), COLOR_WINDOW);
  SetTextColor(dc, resolveColour(static_cast<DWORD>(number(kEditBoxTextColour)), COLOR_WINDOWTEXT));
  SetBkColor(dc, back);
  if (!background_) background_.reset(CreateSolidBrush(back));
  return background_.get();
}

}  // namespace ui
