// Timer: an invisible child window that owns one Windows timer; each tick raises event 0.
#include "ui/control_kinds.h"
#include "ui/main_window.h"

namespace ui {
namespace {

constexpr int32_t kTimerPropertyCount = 9;
constexpr UINT_PTR kTimerId = 1000;

}  // namespace

Timer::Timer(const ControlLayout& row) : Control(ControlKind::Timer, row.unitName, row.bindings, kTimerPropertyCount) {
  interval_ = row.interval > 0 ? row.interval : 0;
  store(kTimerInterval, interval_);
}

bool Timer::create(MainWindow& window, const ControlLayout& row) {
  if (!createChild(window, row, kHiddenClass, 0, 0, "")) return false;
  if (interval_ > 0) running_ = SetTimer(hwnd_, kTimerId, static_cast<UINT>(interval_), nullptr) != 0;
  return true;
}

// Also while the window is gone (values only stored) a negative interval reads as 0.
Value Timer::liveValue(int32_t number) {
  if (number != kTimerInterval) return Control::liveValue(number);
  const int32_t interval = this->number(kTimerInterval);
  return Value{interval < 0 ? 0 : interval};
}

// A negative interval counts as 0; an unchanged one does nothing at all (a running timer
// keeps its period); a change stops the timer and starts it again when above 0.
void Timer::apply(int32_t number) {
  if (number != kTimerInterval) return;
  int32_t interval = this->number(kTimerInterval);
  if (interval < 0) interval = 0;
  store(kTimerInterval, interval);
  if (interval == interval_) return;
  restart(interval);
}

void Timer::restart(int32_t interval) {
  interval_ = interval;
  if (running_) KillTimer(hwnd_, kTimerId);
  running_ = interval > 0 && SetTimer(hwnd_, kTimerId, static_cast<UINT>(interval), nullptr) != 0;
}

LRESULT Timer::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimerId) raise(kTick);
      return 0;
    case WM_DESTROY:
      if (running_) KillTimer(hwnd_, kTimerId);
      running_ = false;
      return 0;
    default:
      return Control::handleMessage(message, wParam, lParam);
  }
}

}  // namespace ui
