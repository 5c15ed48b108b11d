// The two animations: the progress text of a one-click run and the scrolling banner.
#include <cmath>

#include "installer/controls.h"
#include "installer/procedures.h"
#include "installer/run_state.h"
#include "runtime/events.h"
#include "ui/properties.h"

namespace installer {

void animateProgressText() {
  static const char* const kTexts[] = {"汉化中：请稍后.", "汉化中：请稍后..", "汉化中：请稍后..."};
  for (const char* text : kTexts) {
    if (runAbandoned() || ui::mainWindow() == nullptr) return;
    ui::setProperty(kStatusLine, ui::kTransLabelCaption, runtime::Text(text));
    runtime::delay(500);
  }
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
