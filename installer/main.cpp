// The program: start the runtime, open the main window, run until the last window is gone.
#include <windows.h>

#include "installer/procedures.h"
#include "runtime/program.h"
#include "ui/properties.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  runtime::startRuntime();
  runtime::registerCleanup(installer::releaseGlobals);
  ui::openStartupWindow(installer::kWindowProcedures);
  runtime::runMessageLoop();
  runtime::exitProgram();
}
