// The layout of a window as constant data: the window's settings and one row per control, in
// creation order (which is also the keyboard focus order). The window is built from it.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "ui/events.h"

namespace ui {

// The procedures that the main window's events start, named by identifier: the layout binds
// events to identifiers, and whoever opens the window hands the table of what each one runs.
enum class Procedure : uint8_t {
  None = 0,  // an unused binding slot
  WriteHelpDocument,
  DeleteHelpDocument,
  StartAutomaticInstall,
  InstallFromTypedFolder,
  ScrollBanner,
  AnimateProgressText,
  OpenHelpDocument,
};
constexpr Procedure kLastProcedure = Procedure::OpenHelpDocument;

// One row of the table handed to openWindow: what an identifier runs.
struct ProcedureRow {
  Procedure procedure = Procedure::None;
  EventHandler handler = nullptr;
};
using Procedures = std::span<const ProcedureRow>;

// True when the table has a row for every identifier, so no bound event is lost.
constexpr bool coversEveryProcedure(Procedures table) {
  for (int id = 1; id <= static_cast<int>(kLastProcedure); ++id) {
    bool found = false;
    for (const ProcedureRow& row : table) found = found || (static_cast<int>(row.procedure) == id && row.handler);
    if (!found) return false;
  }
  return true;
}

// An event of a control (or of the window) and the procedure it starts.
struct EventBinding {
  int32_t event = 0;
  Procedure procedure = Procedure::None;
};
constexpr size_t kMaxBindings = 8;
using EventBindings = std::array<EventBinding, kMaxBindings>;

enum class ControlKind { Window, TransLabel, Label, Button, EditBox, SplitterBar, Timer, Zip };

enum ControlFlag : uint32_t {
  kVisible = 1,   // shown when the window is shown
  kDisabled = 2,  // created with input disabled
  kTabStop = 4,   // takes part in the keyboard focus order
};

// Colours are 0x00BBGGRR; this value means the system's colour for the purpose.
constexpr uint32_t kDefaultColour = 0xFF000000;

enum HorizontalAlignment : int32_t { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };
enum VerticalAlignment : int32_t { kAlignTop = 0, kAlignMiddle = 1, kAlignBottom = 2 };

// How a caption is drawn: font (nullptr: the system's default GUI font), colour, one of the
// four text effects (0 none, 1 white shadow, 2 white relief, 3 black shadow) and placement.
struct CaptionStyle {
  const LOGFONTA* font = nullptr;
  uint32_t textColour = kDefaultColour;
  int32_t effect = 0;
  int32_t horizontal = kAlignLeft;
  int32_t vertical = kAlignMiddle;  // ignored when wordWrap is on (text starts at the top)
  bool wordWrap = false;
};

// A label's gradient border; drawn only for border style 6.
struct LabelBorder {
  int32_t style = 0;
  int32_t width = 8;
  uint32_t colours[3] = {RGB(128, 128, 128), RGB(255, 255, 255), RGB(128, 128, 128)};
};

struct ControlLayout {
  ControlKind kind = ControlKind::TransLabel;
  const char* unitName = "";
  int32_t left = 0, top = 0, width = 0, height = 0;  // in the window's client area
  uint32_t flags = 0;
  const char* caption = "";  // caption, or an edit box's initial content
  CaptionStyle style{};
  uint32_t backColour = kDefaultColour;
  LabelBorder border{};
  int32_t interval = 0;  // timers, milliseconds
  EventBindings bindings{};
};

enum FrameStyle : int32_t {
  kNoFrame = 0,
  kResizableFrame = 1,
  kFixedFrame = 2,
  kResizableToolFrame = 3,
  kToolFrame = 4,
  kResizableSunkenFrame = 5,
  kFixedSunkenFrame = 6,
};
enum StartPosition : int32_t { kStoredPosition = 0, kCentred = 1, kStartMinimized = 2, kStartMaximized = 3 };
enum PictureMode : int32_t { kNaturalSize = 0, kTiled = 1, kCentredFit = 2, kStretched = 3 };

struct WindowSettings {
  const char* title = "";
  int32_t left = 0, top = 0, width = 0, height = 0;  // outer size, frame included
  int32_t frame = kFixedSunkenFrame;
  bool closeBox = true, maximizeBox = false, minimizeBox = true;
  int32_t startPosition = kCentred;
  bool movable = true, dragByAnyPoint = true, showInTaskbar = true, alwaysOnTop = false;
  uint32_t backColour = kDefaultColour;
  int pictureResource = 0;  // RCDATA id of a JPEG picture; 0: none
  int32_t pictureMode = kStretched;
  int iconResource = 0;  // ICON id; 0: none
  EventBindings bindings{};
};

struct WindowLayout {
  WindowSettings window;
  std::vector<ControlLayout> controls;
};

// The program's one window.
extern const WindowLayout kMainWindowLayout;

// The row of a unit name, or nullptr.
const ControlLayout* findControl(const WindowLayout& layout, const char* unitName);
ControlLayout* findControl(WindowLayout& layout, const char* unitName);

}  // namespace ui
