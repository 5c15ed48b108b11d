// The two animations: the progress text of a one-click run and the scrolling banner.
#include <cmath>

#include "installer/controls.h"
#include "installer/procedures.h"
#include "installer/run_state.h"
#include "ui/properties.h"

namespace installer {
namespace {

const char* const kProgressTexts[] = {"汉化中：请稍后.", "汉化中：请稍后..", "汉化中：请稍后..."};
constexpr int kProgressTextCount = 3;
constexpr UINT kProgressStepMs = 500;
// A timer of the main window itself, apart from the timer controls (each owns a window of its
// own); with a callback, its ticks go to showNextProgressText, not to the window procedure.
constexpr UINT_PTR kProgressStepTimer = 0x51A0;

int progressTextsShown = 0;  // since the last tick of the progress timer

// The animation runs while the progress timer does; stopping that timer, or losing the
// window (whose timers go with it), leaves any text still due unshown.
bool progressTimerRunning() {
  return ui::mainWindow() != nullptr && !runAbandoned() && ui::getNumber(kProgressTimer, ui::kTimerInterval) > 0;
}

void CALLBACK showNextProgressText(HWND window, UINT, UINT_PTR timer, DWORD) {
  if (!progressTimerRunning() || progressTextsShown >= kProgressTextCount) {
    KillTimer(window, timer);
    return;
  }
  ui::setProperty(kStatusLine, ui::kTransLabelCaption, runtime::Text(kProgressTexts[progressTextsShown++]));
  if (progressTextsShown == kProgressTextCount) KillTimer(window, timer);
}

}  // namespace

// The first text at once, the other two 500 ms apart from the message loop, so that the
// search that dispatched the tick goes on meanwhile.
void animateProgressText() {
  HWND window = ui::mainWindow();
  if (window == nullptr || runAbandoned()) return;
  ui::setProperty(kStatusLine, ui::kTransLabelCaption, runtime::Text(kProgressTexts[0]));
  progressTextsShown = 1;
  SetTimer(window, kProgressStepTimer, kProgressStepMs, showNextProgressText);
}

void scrollBanner() {
  if (ui::mainWindow() == nullptr) return;
  const int32_t x = ui::getNumber(kBanner, ui::kLeft);
  ui::setProperty(kBanner, ui::kLeft, static_cast<int32_t>(std::trunc(static_cast<double>(x) - 5.0)));
  // An equality on purpose: every pass from the layout's positions lands on -770 exactly.
  if (ui::getNumber(kBanner, ui::kLeft) == -770) {
    ui::setProperty(kBanner, ui::kLeft, ui::getNumber(ui::kMainWindowUnit, ui::kWidth));
  }
}

}  // namespace installer
