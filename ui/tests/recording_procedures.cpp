#include "ui/tests/recording_procedures.h"

#include <algorithm>

#include "installer/procedures.h"

namespace ui::testing {

std::vector<std::string>& procedureLog() {
  static std::vector<std::string> log;
  return log;
}

int timesCalled(const char* procedure) {
  const auto& log = procedureLog();
  return static_cast<int>(std::count(log.begin(), log.end(), procedure));
}

}  // namespace ui::testing

namespace installer {

using ui::testing::procedureLog;

void startAutomaticInstall() { procedureLog().push_back("startAutomaticInstall"); }
void installFromTypedFolder() { procedureLog().push_back("installFromTypedFolder"); }
void animateProgressText() { procedureLog().push_back("animateProgressText"); }
void scrollBanner() { procedureLog().push_back("scrollBanner"); }
void writeHelpDocument() { procedureLog().push_back("writeHelpDocument"); }
void openHelpDocument() { procedureLog().push_back("openHelpDocument"); }
void deleteHelpDocument() { procedureLog().push_back("deleteHelpDocument"); }
void releaseGlobals() { procedureLog().push_back("releaseGlobals"); }

}  // namespace installer
