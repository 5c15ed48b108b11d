// The one-click way: announce, wait, start the progress text, search every drive, install.
#include "installer/controls.h"
#include "installer/game_search.h"
#include "installer/installation_run.h"
#include "installer/procedures.h"
#include "installer/run_state.h"
#include "runtime/events.h"
#include "ui/properties.h"

namespace installer {
namespace {

// The search of the one-click way: every drive, then the installation into the folder found.
void searchAllDrives() {
  findGameOnAllDrives();
  if (runAbandoned()) return;
  installFromFoundGame();
}

}  // namespace

void startAutomaticInstall() {
  if (RunGuard::inProgress()) return;
  RunGuard run;
  ui::setProperty(kStatusLine, ui::kTransLabelCaption, runtime::Text(kStartingText));
  runtime::delay(2000);
  if (runAbandoned()) return;
  ui::setProperty(kProgressTimer, ui::kTimerInterval, 4000);
  searchAllDrives();
}

}  // namespace installer
