// Doubles of the installer's procedures: each one notes its name, so a test sees which
// procedure an event reached.
#pragma once

#include <string>
#include <vector>

namespace ui::testing {

std::vector<std::string>& procedureLog();
int timesCalled(const char* procedure);

}  // namespace ui::testing
