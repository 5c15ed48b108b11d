// What the installer sees of the window: controls by unit name, properties by number.
#pragma once

#include <windows.h>

#include <cstdint>
#include <variant>

#include "runtime/text.h"
#include "ui/layout.h"
#include "unzip/extraction_owner.h"

namespace ui {

// Integers and logicals are numbers; texts, fonts (60-byte records) and pictures are texts.
using Value = std::variant<int32_t, runtime::Text>;

// The unit name of the main window itself.
constexpr const char* kMainWindowUnit = "窗口1";

// Common to every control and to the window.
enum CommonProperty : int32_t {
  kLeft = 0,
  kTop = 1,
  kWidth = 2,
  kHeight = 3,
  kTag = 4,
  kVisibleProperty = 5,
  kDisabledProperty = 6,
  kCursor = 7,
};

// Own properties of each kind, from number 8 on.
enum TransLabelProperty : int32_t {
  kTransLabelCaption = 8, kTransLabelEffect, kTransLabelFont, kTransLabelTextColour,
  kTransLabelHorizontal, kTransLabelWordWrap, kTransLabelVertical,
};
enum LabelProperty : int32_t {
  kLabelCaption = 8, kLabelEffect, kLabelBorderStyle, kLabelBorderWidth, kLabelBorderColour1,
  kLabelBorderColour2, kLabelBorderColour3, kLabelFont, kLabelTextColour, kLabelBackColour,
  kLabelPicture, kLabelPictureMode, kLabelGradientMode, kLabelGradientColour1,
  kLabelGradientColour2, kLabelGradientColour3, kLabelHorizontal, kLabelWordWrap,
  kLabelVertical, kLabelText27, kLabelText28,
};
enum ButtonProperty : int32_t {
  kButtonPicture = 8, kButtonDefault, kButtonCaption, kButtonHorizontal, kButtonVertical, kButtonFont,
};
enum EditBoxProperty : int32_t {
  kEditBoxContent = 8, kEditBoxBorderStyle, kEditBoxTextColour, kEditBoxBackColour, kEditBoxFont,
  kEditBoxHideSelection, kEditBoxMaximumLength, kEditBoxMultiLine, kEditBoxScrollBars,
  kEditBoxAlignment, kEditBoxInputMode, kEditBoxPasswordCharacter, kEditBoxCaseConversion,
  kEditBoxLast = 28,
};
enum TimerProperty : int32_t { kTimerInterval = 8 };
enum SplitterBarProperty : int32_t { kSplitterBackColour = 8, kSplitterOrientation = 9 };
enum WindowProperty : int32_t {
  kWindowTitle = 8, kWindowFrameStyle, kWindowBackColour, kWindowPicture, kWindowPictureMode,
  kWindowMusic, kWindowMusicMode, kWindowCloseBox, kWindowMaximizeBox, kWindowMinimizeBox,
  kWindowStartPosition, kWindowMovable, kWindowIcon, kWindowOption21, kWindowOption22,
  kWindowOption23, kWindowFileName, kWindowNumber25, kWindowInTaskbar, kWindowDragByAnyPoint,
  kWindowChoice28, kWindowAlwaysOnTop, kWindowOption30, kWindowClassName,
};

// The current value; a unit name that does not exist, or a number the kind does not have,
// gives the number 0.
Value getProperty(const char* unitName, int32_t number);
// Stores the value and applies it before returning; a control whose window is gone only
// stores it; an unknown unit name or number is ignored. A value of the wrong type is
// converted (a number from a text by its decimal digits, a text from a number likewise).
void setProperty(const char* unitName, int32_t number, const Value& value);
int32_t getNumber(const char* unitName, int32_t number);
runtime::Text getText(const char* unitName, int32_t number);

// The main window; nullptr before it is opened and once it is destroyed.
HWND mainWindow();
// The native window of a control (hidden for timers and ZIP); nullptr when there is none.
HWND controlWindow(const char* unitName);
// The archive component of that unit name, or nullptr when it is no ZIP component.
unzip::ExtractionOwner* extractionOwner(const char* unitName);

// Builds the main window from kMainWindowLayout and shows it; a failure is fatal. The table
// tells what each procedure that the layout binds runs (a copy is kept).
void openStartupWindow(Procedures procedures);
// The same for any layout (tests open modified copies). A window opened before is
// destroyed first. Returns false when the window could not be created.
bool openWindow(const WindowLayout& layout, Procedures procedures);

}  // namespace ui
