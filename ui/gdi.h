// Owners of GDI and user handles, and scoped helpers for device contexts and selections.
#pragma once

#include <windows.h>

#include <utility>

namespace ui {

// One uncopyable owner per handle; Traits::release frees it.
template <class Handle, class Traits>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle release() { return std::exchange(handle_, nullptr); }
  void reset(Handle handle = nullptr) {
    Handle old = std::exchange(handle_, handle);
    if (old) Traits::release(old);
  }

 private:
  Handle handle_ = nullptr;
};

struct GdiObjectTraits {
  static void release(HGDIOBJ object) { DeleteObject(object); }
};
struct IconTraits {
  static void release(HICON icon) { DestroyIcon(icon); }
};
struct MemoryDcTraits {
  static void release(HDC dc) { DeleteDC(dc); }
};

using FontOwner = Owned<HFONT, GdiObjectTraits>;
using BrushOwner = Owned<HBRUSH, GdiObjectTraits>;
using BitmapOwner = Owned<HBITMAP, GdiObjectTraits>;
using IconOwner = Owned<HICON, IconTraits>;
using MemoryDc = Owned<HDC, MemoryDcTraits>;

// Selects an object into a DC for the scope and selects the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A DC obtained with GetDC / GetDCEx and released with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(HWND window, DWORD flags) : window_(window), dc_(GetDCEx(window, nullptr, flags)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The DC of one paint request: BeginPaint / EndPaint for WM_PAINT, or the DC handed over
// with WM_PRINTCLIENT (not ours to release; the whole client area is drawn).
class PaintDc {
 public:
  PaintDc(HWND window, UINT message, WPARAM wParam) : window_(window), printing_(message == WM_PRINTCLIENT) {
    if (printing_) {
      dc_ = reinterpret_cast<HDC>(wParam);
      GetClientRect(window, &paint_.rcPaint);
    } else {
      dc_ = BeginPaint(window, &paint_);
    }
  }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() {
    if (!printing_) EndPaint(window_, &paint_);
  }
  HDC get() const { return dc_; }
  const RECT& area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  bool printing_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

// The system colour of a 0x00BBGGRR value, with kDefaultColour as the given system colour.
inline COLORREF resolveColour(DWORD colour, int systemColour) {
  return colour == 0xFF000000 ? GetSysColor(systemColour) : static_cast<COLORREF>(colour & 0x00FFFFFF);
}

inline void fillRect(HDC dc, const RECT& rect, COLORREF colour) {
  BrushOwner brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.get());
}

}  // namespace ui
