// TransLabel: a transparent child window without background brush; only its text is drawn, so
// the window's picture shows through.
#include <cstddef>
#include <cstring>
#include <vector>

#include "ui/control_kinds.h"
#include "ui/main_window.h"

namespace ui {
namespace {

constexpr int32_t kTransLabelPropertyCount = 15;

HWND topLevelOf(HWND hwnd) {
  while (hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}

// Visible descendants depth first, each window right after its own visible children.
void listVisibleDescendants(HWND parent, std::vector<HWND>& out) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    listVisibleDescendants(child, out);
    out.push_back(child);
  }
}

}  // namespace

runtime::Text fontRecord(const LOGFONTA* font) {
  if (!font) return runtime::Text{};
  return runtime::Text(reinterpret_cast<const char*>(font), sizeof(LOGFONTA));
}

bool wideFont(const runtime::Text& record, LOGFONTW& wide) {
  static_assert(sizeof(LOGFONTA) == 60, "a logical font record has 60 bytes");
  if (record.size() != sizeof(LOGFONTA)) return false;
  LOGFONTA font;
  std::memcpy(&font, record.data(), sizeof(font));
  // The fields before the face name are the same in both forms (a LOGFONTW is 92 bytes: its
  // face name is 32 UTF-16 units).
  static_assert(offsetof(LOGFONTA, lfFaceName) == offsetof(LOGFONTW, lfFaceName), "same fields before the face");
  wide = LOGFONTW{};
  std::memcpy(&wide, &font, offsetof(LOGFONTA, lfFaceName));
  // The face name is code page 936 bytes, never the system's code page: converted as such.
  const int bytes = static_cast<int>(strnlen(font.lfFaceName, LF_FACESIZE - 1));
  const int units = bytes == 0 ? 0 : MultiByteToWideChar(936, 0, font.lfFaceName, bytes, wide.lfFaceName, LF_FACESIZE - 1);
  wide.lfFaceName[units > 0 ? units : 0] = L'\0';
  return true;
}

FontOwner createFont(const runtime::Text& record) {
  LOGFONTW font;
  if (!wideFont(record, font)) return FontOwner{};
  return FontOwner(CreateFontIndirectW(&font));
}

TransLabel::TransLabel(const ControlLayout& row)
    : PaintedControl(ControlKind::TransLabel, row.unitName, row.bindings, kTransLabelPropertyCount) {
  store(kTransLabelCaption, runtime::Text(row.caption));
  store(kTransLabelEffect, row.style.effect);
  store(kTransLabelFont, fontRecord(row.style.font));
  store(kTransLabelTextColour, static_cast<int32_t>(row.style.textColour));
  store(kTransLabelHorizontal, row.style.horizontal);
  store(kTransLabelWordWrap, int32_t{row.style.wordWrap});
  store(kTransLabelVertical, row.style.vertical);
  font_ = createFont(text(kTransLabelFont));
}

bool TransLabel::create(MainWindow& window, const ControlLayout& row) {
  return createChild(window, row, kTransLabelClass, 0, WS_EX_TRANSPARENT, row.caption);
}

void TransLabel::apply(int32_t number) {
  if (number == kTransLabelCaption) SetWindowTextW(hwnd_, runtime::toWide(text(kTransLabelCaption)).c_str());
  if (number == kTransLabelFont) font_ = createFont(text(kTransLabelFont));
  redrawOverBackground();
}

// The old text vanishes and the new one is drawn over an intact background, also where the
// label overlaps other controls: the window's background under the label is repainted, then
// every visible window overlapping it (bottom of the stack first), then the label itself.
void TransLabel::redrawOverBackground() {
  HWND top = topLevelOf(hwnd_);
  if (!top) return;
  RECT label{};
  GetWindowRect(hwnd_, &label);  // screen coordinates
  RECT inTop = label;
  MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&inTop), 2);
  RedrawWindow(top, &inTop, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  // Whether that erase reaches below a transparent child of a clip-children parent is not
  // documented; the background is therefore also copied under the whole label, over the
  // children, which the next step repaints.
  if (window_ && window_->hwnd() == top) {
    WindowDc dc(top, DCX_CACHE);  // without DCX_CLIPCHILDREN: children are not clipped out
    IntersectClipRect(dc.get(), inTop.left, inTop.top, inTop.right, inTop.bottom);
    window_->paintBackground(dc.get());
  }

  std::vector<HWND> listed;
  listVisibleDescendants(top, listed);
  for (auto it = listed.rbegin(); it != listed.rend(); ++it) {
    if (*it == hwnd_) continue;
    RECT other{};
    GetWindowRect(*it, &other);
    RECT overlap{};
    if (!IntersectRect(&overlap, &other, &label)) continue;
    // Client coordinates; the frame part lies outside the client rectangle.
    MapWindowPoints(HWND_DESKTOP, *it, reinterpret_cast<POINT*>(&overlap), 2);
    RedrawWindow(*it, &overlap, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  }
  // Painted before returning, so a status text set just before a long step is on screen
  // during it.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TransLabel::paint(HDC dc) {
  paintCaption(dc, font_.get(), kTransLabelCaption,
               {kTransLabelTextColour, kTransLabelEffect, kTransLabelHorizontal, kTransLabelVertical,
                kTransLabelWordWrap});
}

}  // namespace ui
