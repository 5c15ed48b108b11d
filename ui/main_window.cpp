#include "ui/main_window.h"

#include <cstring>

#include "runtime/events.h"
#include "runtime/program.h"
#include "ui/control_kinds.h"

namespace ui {
namespace {

constexpr int32_t kWindowPropertyCount = 32;

bool resizable(int32_t frame) { return frame == kResizableFrame || frame == kResizableToolFrame || frame == kResizableSunkenFrame; }

}  // namespace

WindowStyles windowStyles(const WindowSettings& s) {
  DWORD style = WS_CLIPCHILDREN;
  DWORD exStyle = 0;
  switch (s.frame) {
    case kNoFrame: style |= WS_POPUP; break;
    case kResizableFrame: style |= WS_THICKFRAME; break;
    case kFixedFrame: style |= WS_DLGFRAME; break;
    case kResizableToolFrame: style |= WS_THICKFRAME; exStyle |= WS_EX_TOOLWINDOW; break;
    case kToolFrame: style |= WS_DLGFRAME; exStyle |= WS_EX_TOOLWINDOW; break;
    case kResizableSunkenFrame: style |= WS_THICKFRAME; exStyle |= WS_EX_CLIENTEDGE; break;
    default: style |= WS_DLGFRAME; exStyle |= WS_EX_CLIENTEDGE; break;  // 6: fixed and sunken
  }
  if (s.frame != kNoFrame) {
    if (s.title[0] != '\0' || s.closeBox) style |= WS_CAPTION;
    if (s.closeBox) style |= WS_SYSMENU;
    style |= WS_BORDER;
  }
  if (s.maximizeBox) style |= WS_MAXIMIZEBOX;
  if (s.minimizeBox) style |= WS_MINIMIZEBOX;
  if (s.showInTaskbar) exStyle |= WS_EX_APPWINDOW;
  if (s.alwaysOnTop) exStyle |= WS_EX_TOPMOST;
  return WindowStyles{style, exStyle};
}

MainWindow::MainWindow(const WindowLayout& layout, Procedures procedures)
    : Control(ControlKind::Window, kMainWindowUnit, layout.window.bindings, kWindowPropertyCount),
      layout_(layout),
      procedures_(procedures.begin(), procedures.end()) {
  const WindowSettings& s = layout_.window;
  store(kLeft, s.left);
  store(kTop, s.top);
  store(kWidth, s.width);
  store(kHeight, s.height);
  store(kVisibleProperty, 1);
  store(kWindowTitle, runtime::Text(s.title));
  store(kWindowFrameStyle, s.frame);
  store(kWindowBackColour, static_cast<int32_t>(s.backColour));
  ResourceBytes picture = s.pictureResource ? loadResourceData(s.pictureResource) : ResourceBytes{};
  store(kWindowPicture, runtime::Text(reinterpret_cast<const char*>(picture.data), picture.size));
  store(kWindowPictureMode, s.pictureMode);
  store(kWindowMusic, runtime::Text{});
  store(kWindowCloseBox, int32_t{s.closeBox});
  store(kWindowMaximizeBox, int32_t{s.maximizeBox});
  store(kWindowMinimizeBox, int32_t{s.minimizeBox});
  store(kWindowStartPosition, s.startPosition);
  store(kWindowMovable, int32_t{s.movable});
  store(kWindowIcon, runtime::Text{});
  store(kWindowFileName, runtime::Text{});
  store(kWindowInTaskbar, int32_t{s.showInTaskbar});
  store(kWindowDragByAnyPoint, int32_t{s.dragByAnyPoint});
  store(kWindowAlwaysOnTop, int32_t{s.alwaysOnTop});
  store(kWindowClassName, runtime::Text(kWindowClass));
  picture_ = Picture::decodeJpeg(picture.data, picture.size);  // decoded once and kept
}

// The native window is destroyed by openWindow while this is still the current window.
MainWindow::~MainWindow() = default;

POINT MainWindow::startPosition() const {
  const WindowSettings& s = layout_.window;
  if (s.startPosition != kCentred) return POINT{s.left, s.top};
  // Halves rounded toward zero; a screen smaller than the window gives a negative place.
  return POINT{(GetSystemMetrics(SM_CXSCREEN) - s.width) / 2, (GetSystemMetrics(SM_CYSCREEN) - s.height) / 2};
}

int MainWindow::showCommand() const {
  const WindowSettings& s = layout_.window;
  if (s.startPosition == kStartMinimized) return SW_SHOWMINIMIZED;
  if (s.startPosition == kStartMaximized && resizable(s.frame)) return SW_SHOWMAXIMIZED;
  return SW_SHOWNORMAL;
}

bool MainWindow::open() {
  if (!registerWindowClasses()) return false;
  const WindowSettings& s = layout_.window;
  const WindowStyles styles = windowStyles(s);
  const POINT at = startPosition();
  // Created hidden; nothing is on screen before the controls exist and event 0 has run.
  HWND hwnd = CreateWindowExW(styles.exStyle, runtime::toWide(kWindowClass).c_str(), runtime::toWide(s.title).c_str(),
                              styles.style, at.x, at.y, s.width, s.height, nullptr, nullptr, GetModuleHandleW(nullptr),
                              static_cast<Control*>(this));
  if (!hwnd) return false;
  hwnd_ = hwnd;
  runtime::registerProgramWindow(hwnd);
  runtime::setMessageFilter(&filterMessage);
  applyIcon();
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  if (!s.movable) DeleteMenu(GetSystemMenu(hwnd, FALSE), SC_MOVE, MF_BYCOMMAND);

  for (const ControlLayout& row : layout_.controls) {
    std::unique_ptr<Control> control = makeControl(row);
    if (!control || !control->create(*this, row)) return false;
    controls_.push_back(std::move(control));
  }
  for (size_t i = 0; i < controls_.size(); ++i) {
    if (layout_.controls[i].flags & kVisible) ShowWindow(controls_[i]->hwnd(), SW_SHOWNA);
  }
  raise(kWindowCreated);
  started_ = true;
  GetWindowRect(hwnd_, &reported_);
  // When a handler of event 0 destroyed the window, these raise nothing.
  raise(kWindowMoved);
  raise(kWindowResized);
  if (!hwnd_) return true;  // a start-up handler closed the window again
  ShowWindow(hwnd_, showCommand());
  UpdateWindow(hwnd_);
  return true;
}

void MainWindow::applyIcon() {
  const int id = layout_.window.iconResource;
  if (!id) return;
  HINSTANCE module = GetModuleHandleW(nullptr);
  largeIcon_.reset(static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                 GetSystemMetrics(SM_CYICON), 0)));
  smallIcon_.reset(static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

Control* MainWindow::controlOf(HWND hwnd) {
  if (!hwnd) return nullptr;
  if (hwnd == hwnd_) return this;
  for (auto& control : controls_) {
    if (control->hwnd() == hwnd) return control.get();
  }
  return nullptr;
}

Control* MainWindow::controlNamed(const char* unitName) {
  if (unitName == nullptr) return nullptr;
  if (std::strcmp(unitName, kMainWindowUnit) == 0) return this;
  for (auto& control : controls_) {
    if (control->unitName() == unitName) return control.get();
  }
  return nullptr;
}

EventHandler MainWindow::handlerOf(Procedure procedure) const {
  if (procedure == Procedure::None) return nullptr;
  for (const ProcedureRow& row : procedures_) {
    if (row.procedure == procedure) return row.handler;
  }
  return nullptr;
}

bool MainWindow::dragByAnyPoint() const { return number(kWindowDragByAnyPoint) != 0; }

void MainWindow::paintBackground(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const SIZE size{client.right, client.bottom};
  const COLORREF colour = resolveColour(static_cast<DWORD>(number(kWindowBackColour)), COLOR_BTNFACE);
  if (!scaled_ || size.cx != scaledSize_.cx || size.cy != scaledSize_.cy) {
    // Scaling once per client size keeps erasing a 1:1 copy, cheap and exact for any part.
    scaled_.reset(CreateCompatibleBitmap(dc, size.cx, size.cy));
    scaledSize_ = size;
    MemoryDc memory(CreateCompatibleDC(dc));
    SelectedObject selected(memory.get(), scaled_.get());
    drawPicture(memory.get(), client, picture_, number(kWindowPictureMode), colour);
  }
  MemoryDc memory(CreateCompatibleDC(dc));
  SelectedObject selected(memory.get(), scaled_.get());
  BitBlt(dc, 0, 0, size.cx, size.cy, memory.get(), 0, 0, SRCCOPY);
}

void MainWindow::paint(HDC dc, bool erase) {
  if (erase) paintBackground(dc);  // the window draws nothing but its background
}

void MainWindow::apply(int32_t number) {
  switch (number) {
    case kWindowTitle:
      SetWindowTextW(hwnd_, runtime::toWide(text(kWindowTitle)).c_str());
      break;
    case kWindowPicture: {
      const runtime::Text bytes = text(kWindowPicture);
      picture_ = Picture::decodeJpeg(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
      scaled_.reset();
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    }
    case kWindowBackColour:
    case kWindowPictureMode:
      scaled_.reset();
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    case kWindowAlwaysOnTop:
      SetWindowPos(hwnd_, this->number(kWindowAlwaysOnTop) ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    default:  // stored only
      break;
  }
}

LRESULT MainWindow::onClose() {
  // The user asks to close: event 12, then event 1; a false result of either keeps the window.
  // A handler may have destroyed the window already: raise then raises nothing.
  if (refused(raise(kWindowCloseRequested))) return 0;
  if (refused(raise(kWindowMayClose))) return 0;
  if (hwnd_) DestroyWindow(hwnd_);
  return 0;
}

LRESULT MainWindow::onActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    raise(kWindowDeactivated);
    return 0;
  }
  raise(kWindowActivated);
  if (!activatedOnce_) {
    activatedOnce_ = true;
    raise(kWindowFirstActivation);
  }
  // Like a dialog: the focus returns to the control that had it, else the first tab stop.
  if (!hwnd_ || IsIconic(hwnd_)) return 0;
  HWND focus = (lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_)) ? lastFocus_ : nullptr;
  for (size_t i = 0; !focus && i < controls_.size(); ++i) {
    HWND child = controls_[i]->hwnd();
    if (child && (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(child) && IsWindowEnabled(child))
      focus = child;
  }
  SetFocus(focus ? focus : hwnd_);
  return 0;
}

LRESULT MainWindow::onCommand(WPARAM wParam, LPARAM lParam) {
  Control* control = controlOf(reinterpret_cast<HWND>(lParam));
  if (control && control != this) control->command(HIWORD(wParam));
  return 0;
}

LRESULT MainWindow::onControlColour(WPARAM wParam, LPARAM lParam) {
  Control* control = controlOf(reinterpret_cast<HWND>(lParam));
  HBRUSH brush = (control && control != this) ? control->colours(reinterpret_cast<HDC>(wParam)) : nullptr;
  return reinterpret_cast<LRESULT>(brush);
}

// The first show sends WM_MOVE and WM_SIZE again without any change (observed); only real
// changes after the start-up events are reported.
void MainWindow::onMove() {
  RECT now{};
  GetWindowRect(hwnd_, &now);
  const bool moved = now.left != reported_.left || now.top != reported_.top;
  if (!started_ || !moved) return;
  OffsetRect(&reported_, now.left - reported_.left, now.top - reported_.top);
  raise(kWindowMoved);
}

void MainWindow::onSize() {
  RECT now{};
  GetWindowRect(hwnd_, &now);
  const bool resized = now.right - now.left != reported_.right - reported_.left ||
                       now.bottom - now.top != reported_.bottom - reported_.top || IsIconic(hwnd_);
  if (!started_ || !resized) return;
  reported_.right = reported_.left + (now.right - now.left);
  reported_.bottom = reported_.top + (now.bottom - now.top);
  raise(kWindowResized);
}

void MainWindow::onDestroy() { raise(kWindowDestroying); }

void MainWindow::onNcDestroy() {
  HWND hwnd = hwnd_;
  started_ = false;
  runtime::programWindowDestroyed(hwnd);
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (runtime::handleDestroyRequest(hwnd_, message)) return 0;
  switch (message) {
    case WM_ERASEBKGND:
      paintBackground(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PAINT: {
      PaintDc dc(hwnd_, message, wParam);
      paint(dc.get(), false);
      return 0;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wParam), (lParam & PRF_ERASEBKGND) != 0);
      return 0;
    case WM_CLOSE:
      return onClose();
    case WM_QUERYENDSESSION:
      return refused(raise(kWindowMayClose)) ? FALSE : TRUE;
    case WM_ENDSESSION:
      // Once this returns the system may end the process at any time: the window goes now,
      // so that its destroy event runs and work that services it from a nested loop stops;
      // what that work has half done is undone first.
      if (wParam) {
        runtime::undoForSessionEnd();
        if (hwnd_) DestroyWindow(hwnd_);
      }
      return 0;
    case WM_ACTIVATE:
      return onActivate(wParam);
    case WM_SHOWWINDOW:
      raise(wParam ? kWindowShown : kWindowHidden);
      break;
    case WM_MOVE:
      onMove();
      break;
    case WM_SIZE:
      onSize();
      break;
    case WM_COMMAND:
      return onCommand(wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      LRESULT brush = onControlColour(wParam, lParam);
      if (brush) return brush;
      break;
    }
    case WM_DESTROY:
      onDestroy();
      return 0;
    case WM_NCDESTROY:
      onNcDestroy();
      break;
    default:
      break;
  }
  return Control::handleMessage(message, wParam, lParam);
}

}  // namespace ui
