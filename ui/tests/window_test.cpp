// Building the window from the layout: styles, size and place, controls, icon, start-up events.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/events.h"
#include "ui/main_window.h"
#include "ui/tests/recording_procedures.h"
#include "ui/tests/window_fixture.h"

namespace ui::testing {
namespace {

// Notes each window event together with whether the window was visible at the time.
std::vector<std::pair<int32_t, bool>>& startup() {
  static std::vector<std::pair<int32_t, bool>> noted;
  return noted;
}
std::optional<int32_t> noteStartup(const EventNotice& notice) {
  startup().emplace_back(notice.event, IsWindowVisible(notice.window) != FALSE);
  return std::nullopt;
}

TEST(WindowBuildTest, StartupEventsRunBeforeTheWindowIsShown) {
  WindowLayout layout = kMainWindowLayout;
  for (int32_t event : {kWindowCreated, kWindowMoved, kWindowResized}) bindEvent(layout, kMainWindowUnit, event, &noteStartup);
  bindEvent(layout, "按钮1", kFocusGained, &noteStartup);
  startup().clear();
  ASSERT_TRUE(openTestWindow(layout));
  runtime::delay(100);
  // The focus event comes once the window is shown and active, on the first tab stop.
  const std::vector<std::pair<int32_t, bool>> expected = {
      {kWindowCreated, false}, {kWindowMoved, false}, {kWindowResized, false}, {kFocusGained, true}};
  EXPECT_EQ(startup(), expected);
  EXPECT_TRUE(IsWindowVisible(mainWindow()));
  DestroyWindow(mainWindow());
}

class WindowBuild : public WindowTest {};

TEST_F(WindowBuild, TheFrameIsFixedWithSunkenClientEdgeAndMinimizeBoxOnly) {
  const LONG style = GetWindowLongW(mainWindow(), GWL_STYLE);
  const LONG exStyle = GetWindowLongW(mainWindow(), GWL_EXSTYLE);
  struct Row {
    const char* name;
    LONG bits;
    bool set;
  };
  const Row rows[] = {
      {"title bar", WS_CAPTION, true},       {"system menu", WS_SYSMENU, true},
      {"minimize box", WS_MINIMIZEBOX, true}, {"maximize box", WS_MAXIMIZEBOX, false},
      {"resizable", WS_THICKFRAME, false},    {"clip children", WS_CLIPCHILDREN, true},
      {"child", WS_CHILD, false},
  };
  for (const Row& row : rows) EXPECT_EQ((style & row.bits) == row.bits, row.set) << row.name;
  EXPECT_TRUE(exStyle & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(exStyle & WS_EX_TOPMOST);
}

// The texts the window is created with, read as the user sees them (the A function would
// convert back through the same code page and hide a wrong text).
TEST_F(WindowBuild, TheTitleAndTheButtonsShowTheirLayoutTexts) {
  struct Row {
    HWND window;
    const wchar_t* text;
  } rows[] = {
      {mainWindow(), L"QX一键汉化"},
      {controlWindow("按钮1"), L"一键汉化"},
      {controlWindow("按钮2"), L"快速汉化"},
  };
  for (const Row& row : rows) {
    wchar_t shown[64] = {};
    GetWindowTextW(row.window, shown, 64);
    EXPECT_EQ(std::wstring(shown), row.text);
  }
}

TEST_F(WindowBuild, TheWindowIsCentredWithItsOuterSize) {
  RECT outer{};
  GetWindowRect(mainWindow(), &outer);
  EXPECT_EQ(outer.right - outer.left, 780);
  EXPECT_EQ(outer.bottom - outer.top, 514);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 780) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 514) / 2);
}

TEST_F(WindowBuild, ControlsFollowTheirFlags) {
  for (const ControlLayout& row : kMainWindowLayout.controls) {
    HWND hwnd = controlWindow(row.unitName);
    ASSERT_NE(hwnd, nullptr) << row.unitName;
    EXPECT_EQ(GetParent(hwnd), mainWindow()) << row.unitName;
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ((style & WS_VISIBLE) != 0, (row.flags & kVisible) != 0) << row.unitName;
    EXPECT_EQ((style & WS_TABSTOP) != 0, (row.flags & kTabStop) != 0) << row.unitName;
    EXPECT_EQ((style & WS_DISABLED) != 0, (row.flags & kDisabled) != 0) << row.unitName;
  }
  const LONG transparent = GetWindowLongW(controlWindow("透明标签1"), GWL_EXSTYLE);
  EXPECT_TRUE(transparent & WS_EX_TRANSPARENT);
  const LONG edit = GetWindowLongW(controlWindow("编辑框1"), GWL_STYLE);
  EXPECT_TRUE(edit & ES_AUTOHSCROLL);
  EXPECT_FALSE(edit & (WS_BORDER | ES_MULTILINE | ES_PASSWORD | ES_READONLY | WS_HSCROLL | WS_VSCROLL));
}

TEST_F(WindowBuild, TheIconIsSetLargeAndSmall) {
  for (WPARAM which : {ICON_BIG, ICON_SMALL}) {
    HICON icon = reinterpret_cast<HICON>(SendMessageW(mainWindow(), WM_GETICON, which, 0));
    EXPECT_NE(icon, nullptr) << which;
  }
}

TEST_F(WindowBuild, TheFocusStartsOnTheFirstTabStop) {
  EXPECT_EQ(GetFocus(), controlWindow("按钮1"));
}

TEST(WindowStylesTest, FrameStylesMapToNativeStyles) {
  struct Row {
    int32_t frame;
    DWORD styleOn, styleOff, exOn;
  };
  const Row rows[] = {
      {kNoFrame, WS_POPUP, WS_CAPTION | WS_THICKFRAME, 0},
      {kResizableFrame, WS_THICKFRAME | WS_CAPTION, 0, 0},
      {kFixedFrame, WS_CAPTION, WS_THICKFRAME, 0},
      {kResizableToolFrame, WS_THICKFRAME, 0, WS_EX_TOOLWINDOW},
      {kToolFrame, WS_CAPTION, WS_THICKFRAME, WS_EX_TOOLWINDOW},
      {kResizableSunkenFrame, WS_THICKFRAME, 0, WS_EX_CLIENTEDGE},
      {kFixedSunkenFrame, WS_CAPTION | WS_SYSMENU, WS_THICKFRAME, WS_EX_CLIENTEDGE},
  };
  for (const Row& row : rows) {
    WindowSettings settings = kMainWindowLayout.window;
    settings.frame = row.frame;
    const WindowStyles styles = windowStyles(settings);
    EXPECT_EQ(styles.style & row.styleOn, row.styleOn) << row.frame;
    EXPECT_EQ(styles.style & row.styleOff, 0u) << row.frame;
    EXPECT_EQ(styles.exStyle & row.exOn, row.exOn) << row.frame;
  }
  // Without a title and a close box there is no title bar, only the thin border.
  WindowSettings bare = kMainWindowLayout.window;
  bare.frame = kResizableFrame;
  bare.title = "";
  bare.closeBox = false;
  EXPECT_EQ(windowStyles(bare).style & WS_CAPTION, static_cast<DWORD>(WS_BORDER));
  EXPECT_EQ(windowStyles(bare).style & WS_SYSMENU, 0u);
}

}  // namespace
}  // namespace ui::testing
