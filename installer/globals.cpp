#include "installer/globals.h"

#include "installer/procedures.h"

namespace installer {

runtime::Text gameExePath;

void releaseGlobals() {
  runtime::Text().swap(gameExePath);
}

}  // namespace installer
