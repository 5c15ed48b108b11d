#include "installer/run_state.h"

#include "installer/controls.h"
#include "runtime/program.h"
#include "ui/properties.h"

namespace installer {
namespace {

RunGuard* activeRun = nullptr;
HWND runWindow = nullptr;

void setButtonsDisabled(bool disabled) {
  ui::setProperty(kAutomaticButton, ui::kDisabledProperty, disabled ? 1 : 0);
  ui::setProperty(kTypedFolderButton, ui::kDisabledProperty, disabled ? 1 : 0);
}

}  // namespace

RunGuard::RunGuard() : window_(ui::mainWindow()) {
  activeRun = this;
  runWindow = window_;
  setButtonsDisabled(true);
}

RunGuard::~RunGuard() {
  activeRun = nullptr;
  runWindow = nullptr;
  // Back to idle; a run that ended by closing the window leaves the buttons as they are.
  if (window_ != nullptr && IsWindow(window_) && !runtime::isClosing(window_)) setButtonsDisabled(false);
}

bool RunGuard::inProgress() { return activeRun != nullptr; }

bool runAbandoned() {
  return activeRun != nullptr && runWindow != nullptr && !IsWindow(runWindow);
}

bool runStillWanted() { return !runAbandoned(); }

}  // namespace installer
