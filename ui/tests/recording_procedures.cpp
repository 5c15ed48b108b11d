#include "ui/tests/recording_procedures.h"

#include <algorithm>

namespace ui::testing {

std::vector<std::string>& procedureLog() {
  static std::vector<std::string> log;
  return log;
}

int timesCalled(const char* procedure) {
  const auto& log = procedureLog();
  return static_cast<int>(std::count(log.begin(), log.end(), procedure));
}

namespace {

void startAutomaticInstall() { procedureLog().push_back("startAutomaticInstall"); }
void installFromTypedFolder() { procedureLog().push_back("installFromTypedFolder"); }
void animateProgressText() { procedureLog().push_back("animateProgressText"); }
void scrollBanner() { procedureLog().push_back("scrollBanner"); }
void writeHelpDocument() { procedureLog().push_back("writeHelpDocument"); }
void openHelpDocument() { procedureLog().push_back("openHelpDocument"); }
void deleteHelpDocument() { procedureLog().push_back("deleteHelpDocument"); }

constexpr ProcedureRow kRecorders[] = {
    {Procedure::WriteHelpDocument, &runProcedure<writeHelpDocument>},
    {Procedure::DeleteHelpDocument, &runProcedure<deleteHelpDocument>},
    {Procedure::StartAutomaticInstall, &runProcedure<startAutomaticInstall>},
    {Procedure::InstallFromTypedFolder, &runProcedure<installFromTypedFolder>},
    {Procedure::ScrollBanner, &runProcedure<scrollBanner>},
    {Procedure::AnimateProgressText, &runProcedure<animateProgressText>},
    {Procedure::OpenHelpDocument, &runProcedure<openHelpDocument>},
};
static_assert(coversEveryProcedure(kRecorders), "a recorder for every procedure of the layout");

}  // namespace

Procedures recorders() { return kRecorders; }

}  // namespace ui::testing
