#include "ui/caption.h"

#include <string>

#include "ui/gdi.h"

namespace ui {

UINT captionFormat(const CaptionLook& look) {
  UINT format = DT_NOCLIP;
  if (look.horizontal == 1) format |= DT_CENTER;
  else if (look.horizontal == 2) format |= DT_RIGHT;
  if (look.wordWrap) return format | DT_WORDBREAK;
  format |= DT_SINGLELINE;
  if (look.vertical == 1) format |= DT_VCENTER;
  else if (look.vertical == 2) format |= DT_BOTTOM;
  return format;
}

void drawCaption(HDC dc, const RECT& area, const runtime::Text& caption, const CaptionLook& look) {
  if (caption.empty()) return;
  HFONT font = look.font ? look.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SelectedObject selected(dc, font);
  const UINT format = captionFormat(look);
  const int previousMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF previousColour = GetTextColor(dc);
  RECT rect = area;
  const std::wstring text = runtime::toWide(caption);
  auto draw = [&](const RECT& at, COLORREF colour) {
    RECT r = at;
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
  };
  switch (look.effect) {
    case 1:
      draw(RECT{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1}, RGB(255, 255, 255));
      break;
    case 2:
      draw(rect, RGB(255, 255, 255));
      OffsetRect(&rect, 1, 1);
      break;
    case 3:
      draw(RECT{rect.left + 2, rect.top + 2, rect.right + 2, rect.bottom + 2}, RGB(0, 0, 0));
      break;
    default:
      break;
  }
  draw(rect, look.colour);
  SetTextColor(dc, previousColour);
  SetBkMode(dc, previousMode);
}

}  // namespace ui
