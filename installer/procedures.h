// The installer's procedures, entered only through the events that the window layout binds
// to them. None takes arguments from its event and none returns a result.
#pragma once

namespace installer {

void startAutomaticInstall();   // click on 按钮1
void installFromTypedFolder();  // click on 按钮2
void animateProgressText();     // tick of 时钟2
void scrollBanner();            // tick of 时钟1
void writeHelpDocument();       // the main window has been created
void openHelpDocument();        // left button pressed on 透明标签6
void deleteHelpDocument();      // the main window is about to be destroyed
void releaseGlobals();          // registered clean-up at program end

}  // namespace installer
