// A run of the installer, from the click that starts it until it ends or returns to idle.
// While it is in progress both buttons are disabled, and no second run can start inside it
// from a nested message loop. A run whose main window has been closed under it (the user
// closed it while the run waited) must write nothing more and touch no control.
#pragma once

#include <windows.h>

namespace installer {

class RunGuard {
 public:
  RunGuard();
  ~RunGuard();
  RunGuard(const RunGuard&) = delete;
  RunGuard& operator=(const RunGuard&) = delete;

  static bool inProgress();

 private:
  HWND window_;
};

// True when a run is in progress and its main window no longer exists.
bool runAbandoned();
// Its opposite, for the window's service during the walk and the unpack
// (runtime::FrameService): false once the run must write nothing more.
bool runStillWanted();

}  // namespace installer
