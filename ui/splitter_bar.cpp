// SplitterBar: a coloured bar with a one-pixel 3-D edge. Dragging it shows an inverted line on
// the parent; a drag that ends elsewhere raises event 0 with the old and the new position.
#include <algorithm>

#include "ui/control_kinds.h"
#include "ui/main_window.h"

namespace ui {
namespace {

constexpr int32_t kSplitterPropertyCount = 10;

}  // namespace

SplitterBar::SplitterBar(const ControlLayout& row)
    : PaintedControl(ControlKind::SplitterBar, row.unitName, row.bindings, kSplitterPropertyCount) {
  store(kSplitterBackColour, static_cast<int32_t>(row.backColour));
  store(kSplitterOrientation, 0);
}

bool SplitterBar::create(MainWindow& window, const ControlLayout& row) {
  // A checker pattern: inverting with it twice gives back the pixels exactly.
  static const WORD checker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  patternBits_.reset(CreateBitmap(8, 8, 1, 1, checker));
  pattern_.reset(CreatePatternBrush(patternBits_.get()));
  return createChild(window, row, kSplitterBarClass, 0, 0, "");
}

bool SplitterBar::horizontal() const { return number(kSplitterOrientation) == 0; }

void SplitterBar::apply(int32_t number) { InvalidateRect(hwnd_, nullptr, TRUE); }

void SplitterBar::paint(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  fillRect(dc, client, resolveColour(static_cast<DWORD>(number(kSplitterBackColour)), COLOR_BTNFACE));
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
  fillRect(dc, RECT{client.left, client.top, client.right, client.top + 1}, light);
  fillRect(dc, RECT{client.left, client.top, client.left + 1, client.bottom}, light);
  fillRect(dc, RECT{client.left, client.bottom - 1, client.right, client.bottom}, dark);
  fillRect(dc, RECT{client.right - 1, client.top, client.right, client.bottom}, dark);
}

int32_t SplitterBar::parentPosition(POINT barPoint) const {
  MapWindowPoints(hwnd_, GetParent(hwnd_), &barPoint, 1);
  return horizontal() ? barPoint.y : barPoint.x;
}

void SplitterBar::invertLine(int32_t position) {
  HWND parent = GetParent(hwnd_);
  RECT bar = placement();
  if (horizontal()) OffsetRect(&bar, 0, position - bar.top);
  else OffsetRect(&bar, position - bar.left, 0);
  // Without DCX_CLIPCHILDREN (and without DCX_USESTYLE) the line is drawn over the children too.
  WindowDc dc(parent, DCX_CACHE);
  SelectedObject brush(dc.get(), pattern_.get());
  PatBlt(dc.get(), bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, PATINVERT);
}

void SplitterBar::beginDrag(POINT at) {
  if (GetCapture() != nullptr) return;  // another window holds the mouse
  const RECT bar = placement();
  start_ = horizontal() ? bar.top : bar.left;
  candidate_ = start_;
  grip_ = parentPosition(at) - start_;
  SetCapture(hwnd_);
  dragging_ = true;
  invertLine(candidate_);
}

void SplitterBar::moveDrag(POINT at) {
  RECT parentClient{};
  GetClientRect(GetParent(hwnd_), &parentClient);
  const RECT bar = placement();
  const int32_t size = horizontal() ? bar.bottom - bar.top : bar.right - bar.left;
  const int32_t limit = (horizontal() ? parentClient.bottom : parentClient.right) - size;
  const int32_t position = std::max(0, std::min(parentPosition(at) - grip_, std::max(0, limit)));
  if (position == candidate_) return;
  invertLine(candidate_);
  candidate_ = position;
  invertLine(candidate_);
}

void SplitterBar::endDrag(bool report) {
  if (!dragging_) return;
  dragging_ = false;  // first, so that the capture change below is not taken for a cancel
  invertLine(candidate_);
  ReleaseCapture();
  if (report && candidate_ != start_) raise(kSplitterMoved, {start_, candidate_});
}

void SplitterBar::cancelDrag() { endDrag(false); }

LRESULT SplitterBar::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, horizontal() ? IDC_SIZENS : IDC_SIZEWE));
      return TRUE;
    case WM_LBUTTONDOWN:
      beginDrag(at);
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_) moveDrag(at);
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) endDrag(true);
      return 0;
    case WM_RBUTTONDOWN:
      if (dragging_) endDrag(false);
      return 0;
    case WM_KEYDOWN:
      if (dragging_ && wParam == VK_ESCAPE) {
        endDrag(false);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (dragging_) endDrag(false);
      return 0;
    default:
      break;
  }
  return PaintedControl::handleMessage(message, wParam, lParam);
}

}  // namespace ui
