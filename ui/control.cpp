#include "ui/control.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "ui/caption.h"
#include "ui/gdi.h"
#include "ui/main_window.h"

namespace ui {
namespace {

constexpr int32_t kPositionLimit = 32627;

int32_t clamp(int32_t value, int32_t low, int32_t high) { return std::min(std::max(value, low), high); }

HINSTANCE instance() { return GetModuleHandleW(nullptr); }

}  // namespace

int32_t toNumber(const Value& value) {
  if (const int32_t* number = std::get_if<int32_t>(&value)) return *number;
  return static_cast<int32_t>(std::strtol(std::get<runtime::Text>(value).c_str(), nullptr, 10));
}

runtime::Text toText(const Value& value) {
  if (const runtime::Text* text = std::get_if<runtime::Text>(&value)) return *text;
  return std::to_string(std::get<int32_t>(value));
}

int32_t keyState() {
  int32_t state = 0;
  if (GetKeyState(VK_CONTROL) < 0) state |= 1;
  if (GetKeyState(VK_SHIFT) < 0) state |= 2;
  if (GetKeyState(VK_MENU) < 0) state |= 4;
  return state;
}

bool registerWindowClasses() {
  static bool registered = false;
  if (registered) return true;
  struct ClassRow {
    const char* name;
    UINT style;
    LPCWSTR cursor;
  };
  // No class has a background brush: each kind erases (or does not erase) by itself.
  const ClassRow rows[] = {
      {kWindowClass, CS_DBLCLKS, IDC_ARROW},
      {kTransLabelClass, CS_DBLCLKS, IDC_ARROW},
      {kLabelClass, CS_DBLCLKS, IDC_ARROW},
      {kSplitterBarClass, CS_DBLCLKS, nullptr},  // the bar sets its own cursor
      {kHiddenClass, 0, IDC_ARROW},
  };
  for (const ClassRow& row : rows) {
    const std::wstring name = runtime::toWide(row.name);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = row.style;
    wc.lpfnWndProc = &Control::windowProcedure;
    wc.hInstance = instance();
    wc.hCursor = row.cursor ? LoadCursorW(nullptr, row.cursor) : nullptr;
    wc.lpszClassName = name.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  }
  registered = true;
  return true;
}

Control::Control(ControlKind kind, const char* unitName, const EventBindings& bindings, int32_t propertyCount)
    : kind_(kind), unitName_(unitName ? unitName : ""), bindings_(bindings),
      values_(static_cast<size_t>(std::max(propertyCount, 8)), Value{int32_t{0}}) {
  values_[kTag] = runtime::Text{};
}

int32_t Control::number(int32_t property) const { return toNumber(values_[property]); }
runtime::Text Control::text(int32_t property) const { return toText(values_[property]); }

RECT Control::placement() const {
  RECT rect{};
  GetWindowRect(hwnd_, &rect);
  HWND parent = (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd_) : nullptr;
  if (parent) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

Value Control::get(int32_t number) {
  if (number < 0 || number >= static_cast<int32_t>(values_.size())) return Value{int32_t{0}};
  if (number >= 8) return liveValue(number);
  if (!hwnd_ || !IsWindow(hwnd_)) return values_[number];
  switch (number) {
    case kLeft: return Value{static_cast<int32_t>(placement().left)};
    case kTop: return Value{static_cast<int32_t>(placement().top)};
    case kWidth: {
      RECT r = placement();
      return Value{static_cast<int32_t>(r.right - r.left)};
    }
    case kHeight: {
      RECT r = placement();
      return Value{static_cast<int32_t>(r.bottom - r.top)};
    }
    case kVisibleProperty: return Value{int32_t{(GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) ? 1 : 0}};
    case kDisabledProperty: return Value{int32_t{IsWindowEnabled(hwnd_) ? 0 : 1}};
    default: return values_[number];
  }
}

void Control::set(int32_t number, const Value& value) {
  if (number < 0 || number >= static_cast<int32_t>(values_.size())) return;
  if (number < 8) {
    setCommon(number, value);
    return;
  }
  // A text stays a text, a number a number: each property keeps the type it started with.
  values_[number] = std::holds_alternative<runtime::Text>(values_[number]) ? Value{toText(value)} : Value{toNumber(value)};
  if (hwnd_ && IsWindow(hwnd_)) apply(number);
}

void Control::setCommon(int32_t number, const Value& value) {
  const bool live = hwnd_ && IsWindow(hwnd_);
  switch (number) {
    case kLeft:
    case kTop: {
      const int32_t v = clamp(toNumber(value), -kPositionLimit, kPositionLimit);
      values_[number] = v;
      if (!live) return;
      RECT r = placement();
      const int x = number == kLeft ? v : r.left;
      const int y = number == kTop ? v : r.top;
      SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return;
    }
    case kWidth:
    case kHeight: {
      const int32_t v = clamp(toNumber(value), 0, kPositionLimit);
      values_[number] = v;
      if (!live) return;
      RECT r = placement();
      const int w = number == kWidth ? v : r.right - r.left;
      const int h = number == kHeight ? v : r.bottom - r.top;
      SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      return;
    }
    case kVisibleProperty: {
      const bool visible = toNumber(value) != 0;
      values_[number] = int32_t{visible};
      if (live) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
      return;
    }
    case kDisabledProperty: {
      const bool disabled = toNumber(value) != 0;
      values_[number] = int32_t{disabled};
      if (live) EnableWindow(hwnd_, !disabled);
      return;
    }
    case kTag:
      values_[number] = toText(value);
      return;
    default:  // the cursor shape is stored only
      values_[number] = toNumber(value);
      return;
  }
}

Procedure Control::procedureFor(int32_t event) const {
  for (const EventBinding& binding : bindings_) {
    if (binding.procedure != Procedure::None && binding.event == event) return binding.procedure;
  }
  return Procedure::None;
}

EventNotice Control::raise(int32_t event, std::initializer_list<int32_t> arguments, bool* handlerRan) {
  EventNotice notice;
  if (handlerRan) *handlerRan = false;
  if (!hwnd_) return notice;
  notice.window = window_ ? window_->hwnd() : hwnd_;
  notice.control = (kind_ == ControlKind::Window) ? nullptr : hwnd_;
  notice.event = event;
  for (int32_t argument : arguments) {
    if (notice.argumentCount == static_cast<int32_t>(notice.arguments.size())) break;
    notice.arguments[notice.argumentCount++] = argument;
  }
  const bool ran = raiseEvent(notice);
  if (handlerRan) *handlerRan = ran;
  return notice;
}

bool Control::createChild(MainWindow& window, const ControlLayout& row, const char* className, DWORD style,
                          DWORD exStyle, const char* windowText) {
  window_ = &window;
  style |= WS_CHILD;
  if (row.flags & kDisabled) style |= WS_DISABLED;
  if (row.flags & kTabStop) style |= WS_TABSTOP;
  values_[kLeft] = row.left;
  values_[kTop] = row.top;
  values_[kWidth] = row.width;
  values_[kHeight] = row.height;
  values_[kVisibleProperty] = int32_t{(row.flags & kVisible) ? 1 : 0};
  values_[kDisabledProperty] = int32_t{(row.flags & kDisabled) ? 1 : 0};
  HWND hwnd = CreateWindowExW(exStyle, runtime::toWide(className).c_str(), runtime::toWide(windowText).c_str(), style,
                              row.left, row.top, row.width, row.height, window.hwnd(), nullptr, instance(), this);
  if (!hwnd) return false;
  hwnd_ = hwnd;
  return true;
}

LRESULT CALLBACK Control::windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* control = static_cast<Control*>(create->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    if (control) control->hwnd_ = hwnd;
  }
  auto* control = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!control) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    LRESULT result = control->handleMessage(message, wParam, lParam);
    control->windowGone();
    return result;
  }
  return control->handleMessage(message, wParam, lParam);
}

LRESULT Control::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
      raise(kFocusGained);
      break;
    case WM_KILLFOCUS:
      raise(kFocusLost);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Control::subclass() { SetWindowSubclass(hwnd_, &Control::subclassProcedure, 1, reinterpret_cast<DWORD_PTR>(this)); }

LRESULT CALLBACK Control::subclassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR reference) {
  auto* control = reinterpret_cast<Control*>(reference);
  switch (message) {
    case WM_SETFOCUS:
      control->raise(kFocusGained);
      break;
    case WM_KILLFOCUS:
      control->raise(kFocusLost);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, &Control::subclassProcedure, id);
      control->windowGone();
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void Control::paintCaption(HDC dc, HFONT font, int32_t caption, const CaptionProperties& properties) const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  CaptionLook look;
  look.font = font;
  look.colour = resolveColour(static_cast<DWORD>(number(properties.colour)), COLOR_WINDOWTEXT);
  look.effect = number(properties.effect);
  look.horizontal = number(properties.horizontal);
  look.vertical = number(properties.vertical);
  look.wordWrap = number(properties.wordWrap) != 0;
  drawCaption(dc, client, text(caption), look);
}

}  // namespace ui
