// Label: an opaque child window that fills its area with its background colour and draws its
// caption like a transparent label.
#include "ui/control_kinds.h"
#include "ui/main_window.h"

namespace ui {
namespace {

constexpr int32_t kLabelPropertyCount = 29;

}  // namespace

Label::Label(const ControlLayout& row) : PaintedControl(ControlKind::Label, row.unitName, row.bindings, kLabelPropertyCount) {
  store(kLabelCaption, runtime::Text(row.caption));
  store(kLabelEffect, row.style.effect);
  store(kLabelBorderStyle, row.border.style);
  store(kLabelBorderWidth, row.border.width);
  store(kLabelBorderColour1, static_cast<int32_t>(row.border.colours[0]));
  store(kLabelBorderColour2, static_cast<int32_t>(row.border.colours[1]));
  store(kLabelBorderColour3, static_cast<int32_t>(row.border.colours[2]));
  store(kLabelFont, fontRecord(row.style.font));
  store(kLabelTextColour, static_cast<int32_t>(row.style.textColour));
  store(kLabelBackColour, static_cast<int32_t>(row.backColour));
  store(kLabelPicture, runtime::Text{});
  store(kLabelGradientColour1, static_cast<int32_t>(kDefaultColour));
  store(kLabelGradientColour2, static_cast<int32_t>(kDefaultColour));
  store(kLabelGradientColour3, static_cast<int32_t>(kDefaultColour));
  store(kLabelHorizontal, row.style.horizontal);
  store(kLabelWordWrap, int32_t{row.style.wordWrap});
  store(kLabelVertical, row.style.vertical);
  store(kLabelText27, runtime::Text{});
  store(kLabelText28, runtime::Text{});
  font_ = createFont(text(kLabelFont));
}

bool Label::create(MainWindow& window, const ControlLayout& row) {
  return createChild(window, row, kLabelClass, 0, 0, row.caption);
}

void Label::apply(int32_t number) {
  if (number == kLabelCaption) SetWindowTextW(hwnd_, runtime::toWide(text(kLabelCaption)).c_str());
  if (number == kLabelFont) font_ = createFont(text(kLabelFont));
  // Opaque: repainting the label itself is enough.
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Label::paint(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  fillRect(dc, client, resolveColour(static_cast<DWORD>(number(kLabelBackColour)), COLOR_BTNFACE));
  paintCaption(dc, font_.get(), kLabelCaption,
               {kLabelTextColour, kLabelEffect, kLabelHorizontal, kLabelVertical, kLabelWordWrap});
}

}  // namespace ui
