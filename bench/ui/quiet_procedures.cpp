// The installer's procedures do nothing here: only the window's own work is measured.
#include "installer/procedures.h"

namespace installer {

void startAutomaticInstall() {}
void installFromTypedFolder() {}
void animateProgressText() {}
void scrollBanner() {}
void writeHelpDocument() {}
void openHelpDocument() {}
void deleteHelpDocument() {}
void releaseGlobals() {}

}  // namespace installer
