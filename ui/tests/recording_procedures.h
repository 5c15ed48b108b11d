// Recorders in place of the installer's procedures: each one notes its name, so a test sees
// which procedure an event reached.
#pragma once

#include <string>
#include <vector>

#include "ui/layout.h"

namespace ui::testing {

std::vector<std::string>& procedureLog();
int timesCalled(const char* procedure);

// A recorder for every procedure the layout names, noted under the installer's name of it.
Procedures recorders();

}  // namespace ui::testing
