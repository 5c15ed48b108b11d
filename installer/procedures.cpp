// Placeholder bodies until the installation runs are written.
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
