// The main window as a control object of kind window: its native window, its controls in
// creation order, its background picture, and the handling of its own messages.
#pragma once

#include <memory>
#include <vector>

#include "ui/control.h"
#include "ui/gdi.h"
#include "ui/picture.h"

namespace ui {

struct WindowStyles {
  DWORD style;
  DWORD exStyle;
};
// The native styles of the window settings (frame, title, boxes, taskbar, topmost).
WindowStyles windowStyles(const WindowSettings& settings);

class MainWindow : public Control {
 public:
  // `procedures` tells what each procedure named by the layout's bindings runs.
  MainWindow(const WindowLayout& layout, Procedures procedures);
  ~MainWindow() override;

  // Builds the window and its controls and shows it; false when the window cannot be created.
  bool open();

  // The control of a native window (the window itself for its own handle), or nullptr.
  Control* controlOf(HWND hwnd);
  Control* controlNamed(const char* unitName);
  // The handler of a procedure named by a binding, or nullptr when the table has none.
  EventHandler handlerOf(Procedure procedure) const;
  bool dragByAnyPoint() const;
  // Draws the background over the whole client area into `dc` (clipped by the DC).
  void paintBackground(HDC dc);

 private:
  bool create(MainWindow&, const ControlLayout&) override { return false; }
  void apply(int32_t number) override;
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void paint(HDC dc, bool erase);
  LRESULT onClose();
  LRESULT onActivate(WPARAM wParam);
  LRESULT onCommand(WPARAM wParam, LPARAM lParam);
  LRESULT onControlColour(WPARAM wParam, LPARAM lParam);
  void onMove();
  void onSize();
  void onDestroy();
  void onNcDestroy();
  void applyIcon();
  POINT startPosition() const;
  int showCommand() const;

  WindowLayout layout_;
  std::vector<ProcedureRow> procedures_;
  std::vector<std::unique_ptr<Control>> controls_;
  Picture picture_;
  BitmapOwner scaled_;  // the picture drawn once at the current client size
  SIZE scaledSize_{};
  IconOwner largeIcon_;
  IconOwner smallIcon_;
  HWND lastFocus_ = nullptr;
  bool started_ = false;  // events 3 and 4 are raised from the start-up sequence on
  RECT reported_{};       // the place and size that events 3 and 4 reported last
  bool activatedOnce_ = false;
};

// The window opened last (its native window may be gone), or nullptr.
MainWindow* currentWindow();

// The message pre-filter of the main window (installed with runtime::setMessageFilter).
bool filterMessage(MSG& message);

}  // namespace ui
