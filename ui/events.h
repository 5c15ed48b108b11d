// Events of the window and its controls: the notice a control raises, the handlers that run
// for it, and raising an event.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>

namespace ui {

// What a control reports: which window and control (control == nullptr: the window itself),
// the event number (0 and up: the control's kind; negative: common to all controls), its
// arguments, and what the handler returned.
struct EventNotice {
  HWND window = nullptr;
  HWND control = nullptr;
  int32_t event = 0;
  int32_t argumentCount = 0;
  std::array<int32_t, 3> arguments{};
  bool hasResult = false;  // the handler returned a value
  int32_t result = 0;
};

// A handler returns a value or nothing; a returned 0 is "false".
using EventHandler = std::optional<int32_t> (*)(const EventNotice& notice);

// The installer's procedures take nothing and return nothing; this makes a handler of one.
template <void (*procedure)()>
std::optional<int32_t> runProcedure(const EventNotice&) {
  procedure();
  return std::nullopt;
}

// Common events of every control and of the window.
enum CommonEvent : int32_t {
  kLeftButtonDown = -1,
  kLeftButtonUp = -2,
  kLeftButtonDoubleClick = -3,
  kRightButtonDown = -4,
  kRightButtonUp = -5,
  kMouseMove = -6,
  kFocusGained = -7,
  kFocusLost = -8,
  kKeyDown = -9,
  kKeyUp = -10,
  kCharacter = -11,
  kMouseWheel = -12,
};

// Events of the window kind.
enum WindowEvent : int32_t {
  kWindowCreated = 0,
  kWindowMayClose = 1,
  kWindowDestroying = 2,
  kWindowMoved = 3,
  kWindowResized = 4,
  kWindowActivated = 5,
  kWindowDeactivated = 6,
  kWindowFirstActivation = 8,
  kWindowShown = 10,
  kWindowHidden = 11,
  kWindowCloseRequested = 12,
};

// Event 0 of a button (clicked), a timer (tick), a splitter bar (moved: old, new position)
// and an edit box (content changed); event 1 of the ZIP component (progress: percentage).
constexpr int32_t kClicked = 0;
constexpr int32_t kTick = 0;
constexpr int32_t kSplitterMoved = 0;
constexpr int32_t kContentChanged = 0;
constexpr int32_t kProgress = 1;

// Finds the binding of (control, event) and runs the handler of its procedure. A notice naming
// a window or a control that does not exist is a fatal error. Returns true when a handler
// ran; the notice then carries the handler's result.
bool raiseEvent(EventNotice& notice);

// True when the notice's handler returned false (0): the caller cancels or swallows.
inline bool refused(const EventNotice& notice) { return notice.hasResult && notice.result == 0; }

}  // namespace ui
