// The installer's procedures, entered only through the events that the window layout binds
// to them, and the table that tells the window which procedure each identifier of the layout
// names. None takes arguments from its event and none returns a result.
#pragma once

#include "ui/layout.h"

namespace installer {

void startAutomaticInstall();   // click on 按钮1
void installFromTypedFolder();  // click on 按钮2
void animateProgressText();     // tick of 时钟2
void scrollBanner();            // tick of 时钟1
void writeHelpDocument();       // the main window has been created
void openHelpDocument();        // left button pressed on 透明标签6
void deleteHelpDocument();      // the main window is about to be destroyed
void releaseGlobals();          // registered clean-up at program end

inline constexpr ui::ProcedureRow kWindowProcedures[] = {
    {ui::Procedure::WriteHelpDocument, &ui::runProcedure<writeHelpDocument>},
    {ui::Procedure::DeleteHelpDocument, &ui::runProcedure<deleteHelpDocument>},
    {ui::Procedure::StartAutomaticInstall, &ui::runProcedure<startAutomaticInstall>},
    {ui::Procedure::InstallFromTypedFolder, &ui::runProcedure<installFromTypedFolder>},
    {ui::Procedure::ScrollBanner, &ui::runProcedure<scrollBanner>},
    {ui::Procedure::AnimateProgressText, &ui::runProcedure<animateProgressText>},
    {ui::Procedure::OpenHelpDocument, &ui::runProcedure<openHelpDocument>},
};
static_assert(ui::coversEveryProcedure(kWindowProcedures), "every procedure of the layout has its row");

}  // namespace installer
