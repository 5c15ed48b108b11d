// How messages reach events: the pre-filter's common events and window moves, buttons, the
// splitter bar's drag, closing, and the ZIP component's progress event.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/events.h"
#include "runtime/program.h"
#include "ui/tests/recording_procedures.h"
#include "ui/tests/window_fixture.h"

namespace ui::testing {
namespace {

// Takes the next queued message for `hwnd` and hands it to the program's dispatch, as the
// message loop would; false when none was queued.
bool dispatchNext(HWND hwnd, UINT message) {
  MSG msg;
  if (!PeekMessageA(&msg, hwnd, message, message, PM_REMOVE)) return false;
  runtime::dispatchMessage(msg);
  return true;
}

// The window-move request that the pre-filter posts, removed before it can start a move.
bool takeMoveRequest() {
  MSG msg;
  if (!PeekMessageA(&msg, mainWindow(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) return false;
  return msg.wParam == HTCAPTION;
}

class RoutingTest : public WindowTest {
 protected:
  WindowLayout layout() const override {
    WindowLayout copy = kMainWindowLayout;
    for (const char* unit : {"标签1", "标签2", "标签3", "透明标签1", kMainWindowUnit}) bindEvent(copy, unit, kLeftButtonDown, &record);
    bindEvent(copy, "分隔条1", kSplitterMoved, &record);
    bindEvent(copy, "编辑框1", kContentChanged, &record);
    return copy;
  }
};

TEST_F(RoutingTest, ALeftPressOnTheHelpLinkOpensTheHelpDocument) {
  // The real layout binds -1 of 透明标签6 to openHelpDocument.
  post("透明标签6", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 9));
  pump();
  EXPECT_EQ(timesCalled("openHelpDocument"), 1);
}

TEST_F(RoutingTest, PressesOnLabelsMoveTheWindowInsteadOfRaisingEvents) {
  struct Row {
    const char* unit;
    bool moves;
    bool raisesLeftPress;
  };
  const Row rows[] = {
      {"标签1", true, false},
      {"标签2", true, false},
      {"标签3", true, false},
      {kMainWindowUnit, true, false},   // the background: a move, and the press goes on
      {"透明标签1", false, true},        // transparent labels keep their press
  };
  for (const Row& row : rows) {
    events().clear();
    HWND target = std::string(row.unit) == kMainWindowUnit ? mainWindow() : controlWindow(row.unit);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    ASSERT_TRUE(dispatchNext(target, WM_LBUTTONDOWN)) << row.unit;
    EXPECT_EQ(takeMoveRequest(), row.moves) << row.unit;
    EXPECT_EQ(!eventsOf(row.unit == std::string(kMainWindowUnit) ? nullptr : target).empty(), row.raisesLeftPress)
        << row.unit;
  }
}

std::optional<int32_t> noteArguments(const EventNotice& notice) {
  events().push_back(notice);
  return std::nullopt;
}

class CommonEventTest : public WindowTest {
 protected:
  WindowLayout layout() const override {
    WindowLayout copy = kMainWindowLayout;
    for (int32_t event : {kLeftButtonDown, kRightButtonUp, kMouseMove, kKeyDown, kMouseWheel})
      bindEvent(copy, "透明标签6", event, &noteArguments);
    return copy;
  }
};

TEST_F(CommonEventTest, MouseAndKeyEventsCarryTheirArguments) {
  struct Row {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    int32_t event;
    int32_t count;
    int32_t first, second, third;
  };
  const Row rows[] = {
      {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 7), kLeftButtonDown, 3, 12, 7, 0},
      {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(151, 23), kLeftButtonDown, 3, 151, 23, 0},
      {WM_RBUTTONUP, 0, MAKELPARAM(0, 0), kRightButtonUp, 3, 0, 0, 0},
      {WM_MOUSEMOVE, 0, MAKELPARAM(-2 & 0xFFFF, 5), kMouseMove, 3, -2, 5, 0},  // captured moves go negative
      {WM_KEYDOWN, 'A', 1, kKeyDown, 2, 'A', 0, 0},
      {WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0, kMouseWheel, 2, -2, 0, 0},
  };
  HWND link = controlWindow("透明标签6");
  for (const Row& row : rows) {
    events().clear();
    PostMessageA(link, row.message, row.wParam, row.lParam);
    ASSERT_TRUE(dispatchNext(link, row.message));
    ASSERT_EQ(events().size(), 1u) << row.message;
    const EventNotice& notice = events()[0];
    EXPECT_EQ(notice.event, row.event);
    EXPECT_EQ(notice.window, mainWindow());
    EXPECT_EQ(notice.control, link);
    ASSERT_EQ(notice.argumentCount, row.count) << row.message;
    EXPECT_EQ(notice.arguments[0], row.first) << row.message;
    EXPECT_EQ(notice.arguments[1], row.second) << row.message;
    EXPECT_EQ(notice.arguments[2], row.third) << row.message;
  }
}

// -11: 'a' becomes 'b', 'x' is dropped, anything else passes unchanged.
std::optional<int32_t> filterCharacters(const EventNotice& notice) {
  if (notice.arguments[0] == 'a') return 'b';
  if (notice.arguments[0] == 'x') return 0;
  return std::nullopt;
}
// -1 answered false swallows the press: the button never sees it and never clicks.
std::optional<int32_t> swallowPress(const EventNotice&) { return 0; }

class FilterResultTest : public WindowTest {
 protected:
  WindowLayout layout() const override {
    WindowLayout copy = kMainWindowLayout;
    bindEvent(copy, "编辑框1", kCharacter, &filterCharacters);
    bindEvent(copy, "按钮2", kLeftButtonDown, &swallowPress);
    return copy;
  }
};

TEST_F(FilterResultTest, CharacterResultsReplaceOrDrop) {
  HWND edit = controlWindow("编辑框1");
  SetFocus(edit);
  for (char c : {'a', 'x', 'c', 'x', 'a'}) PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
  pump();
  EXPECT_EQ(getText("编辑框1", kEditBoxContent), "bcb");
}

TEST_F(FilterResultTest, AFalseResultSwallowsTheMessage) {
  post("按钮2", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  post("按钮2", WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  pump();
  EXPECT_EQ(timesCalled("installFromTypedFolder"), 0);
}

TEST_F(RoutingTest, ButtonsClickOnReleaseAndOnTheSpaceKey) {
  post("按钮1", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  pump();
  EXPECT_EQ(timesCalled("startAutomaticInstall"), 0) << "a press alone is no click";
  post("按钮1", WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  pump();
  EXPECT_EQ(timesCalled("startAutomaticInstall"), 1);
  // Released outside the button: no click.
  post("按钮1", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  post("按钮1", WM_LBUTTONUP, 0, MAKELPARAM(400, 400));
  pump();
  EXPECT_EQ(timesCalled("startAutomaticInstall"), 1);
  SetFocus(controlWindow("按钮2"));
  post("按钮2", WM_KEYDOWN, VK_SPACE, 0x00390001);
  post("按钮2", WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
  pump();
  EXPECT_EQ(timesCalled("installFromTypedFolder"), 1);
}

TEST_F(RoutingTest, TabMovesTheFocusAlongTheTabStops) {
  struct Row {
    const char* from;
    bool shift;
    const char* to;
  };
  const Row rows[] = {
      {"按钮1", false, "按钮2"}, {"按钮2", false, "编辑框1"}, {"编辑框1", false, "按钮1"},
      {"按钮1", true, "编辑框1"}, {"编辑框1", true, "按钮2"},
  };
  for (const Row& row : rows) {
    SetFocus(controlWindow(row.from));
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = row.shift ? 0x80 : 0;
    SetKeyboardState(keys);
    post(row.from, WM_KEYDOWN, VK_TAB, 0x000F0001);
    pump();
    EXPECT_EQ(GetFocus(), controlWindow(row.to)) << row.from << (row.shift ? " shift+tab" : " tab");
  }
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(getText("编辑框1", kEditBoxContent), "") << "a tab was typed into the box";
}

TEST_F(RoutingTest, SettingTheEditContentNotifiesOnce) {
  setProperty("编辑框1", kEditBoxContent, runtime::Text("D:\\Unturned"));
  pump();
  EXPECT_EQ(eventsOf(controlWindow("编辑框1")), std::vector<int32_t>{kContentChanged});
}

// The splitter bar: what a drag raises, and that its inverted line leaves no trace.
TEST_F(RoutingTest, SplitterBarReportsOnlyDragsThatEndElsewhere) {
  HWND bar = controlWindow("分隔条1");
  RECT client{};
  GetClientRect(mainWindow(), &client);
  const int lowest = client.bottom - 8;
  struct Step {
    UINT message;
    WPARAM wParam;
    int y;  // in the bar's client coordinates
  };
  struct Row {
    const char* name;
    std::vector<Step> steps;
    std::vector<int32_t> arguments;  // empty: no event
  };
  const Row rows[] = {
      {"press and release in place", {{WM_LBUTTONDOWN, MK_LBUTTON, 4}, {WM_LBUTTONUP, 0, 4}}, {}},
      {"out and back", {{WM_LBUTTONDOWN, MK_LBUTTON, 4}, {WM_MOUSEMOVE, MK_LBUTTON, 40}, {WM_MOUSEMOVE, MK_LBUTTON, 4}, {WM_LBUTTONUP, 0, 4}}, {}},
      {"down by 30", {{WM_LBUTTONDOWN, MK_LBUTTON, 4}, {WM_MOUSEMOVE, MK_LBUTTON, 34}, {WM_LBUTTONUP, 0, 34}}, {248, 278}},
      {"up by 100", {{WM_LBUTTONDOWN, MK_LBUTTON, 2}, {WM_MOUSEMOVE, MK_LBUTTON, -98}, {WM_LBUTTONUP, 0, -98}}, {248, 148}},
      {"clamped at the top", {{WM_LBUTTONDOWN, MK_LBUTTON, 4}, {WM_MOUSEMOVE, MK_LBUTTON, -2000}, {WM_LBUTTONUP, 0, -2000}}, {248, 0}},
      {"clamped at the bottom", {{WM_LBUTTONDOWN, MK_LBUTTON, 4}, {WM_MOUSEMOVE, MK_LBUTTON, 2000}, {WM_LBUTTONUP, 0, 2000}}, {248, lowest}},
      {"cancelled by Esc", {{WM_LBUTTONDOWN, MK_LBUTTON, 4}, {WM_MOUSEMOVE, MK_LBUTTON, 60}, {WM_KEYDOWN, VK_ESCAPE, 60}, {WM_LBUTTONUP, 0, 60}}, {}},
      {"cancelled by a right press", {{WM_LBUTTONDOWN, MK_LBUTTON, 4}, {WM_MOUSEMOVE, MK_LBUTTON, 60}, {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 60}, {WM_LBUTTONUP, 0, 60}}, {}},
  };
  const RECT band{0, 0, client.right, client.bottom};
  for (const Row& row : rows) {
    events().clear();
    const Pixels before = captureClient(mainWindow(), band);
    for (const Step& step : row.steps) {
      // Keys go to the focused window; the bar must react wherever the focus is.
      HWND target = step.message == WM_KEYDOWN ? mainWindow() : bar;
      PostMessageA(target, step.message, step.wParam, MAKELPARAM(100, static_cast<WORD>(static_cast<short>(step.y))));
      pump();
    }
    EXPECT_EQ(GetCapture(), nullptr) << row.name;
    const std::vector<int32_t> raised = eventsOf(bar);
    if (row.arguments.empty()) {
      EXPECT_TRUE(raised.empty()) << row.name;
    } else {
      ASSERT_EQ(raised, std::vector<int32_t>{kSplitterMoved}) << row.name;
      const EventNotice& notice = events().back();
      ASSERT_EQ(notice.argumentCount, 2) << row.name;
      EXPECT_EQ(notice.arguments[0], row.arguments[0]) << row.name;
      EXPECT_EQ(notice.arguments[1], row.arguments[1]) << row.name;
    }
    // The bar does not move itself, and the inverted line is gone.
    EXPECT_EQ(getNumber("分隔条1", kTop), 248) << row.name;
    EXPECT_EQ(differences(before, captureClient(mainWindow(), band), RECT{0, 0, band.right, band.bottom}), 0) << row.name;
  }
}

TEST_F(RoutingTest, TheDragLineIsDrawnWhileDragging) {
  const RECT line{0, 300, 768, 308};
  const Pixels before = captureClient(mainWindow(), line);
  post("分隔条1", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 0));
  post("分隔条1", WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 52));
  pump();
  const Pixels during = captureClient(mainWindow(), line);
  // Half of a checker pattern is inverted.
  EXPECT_GT(differences(before, during, RECT{0, 0, 768, 8}), 768 * 8 / 3);
  post("分隔条1", WM_LBUTTONUP, 0, MAKELPARAM(100, 52));
  pump();
  EXPECT_EQ(differences(before, captureClient(mainWindow(), line), RECT{0, 0, 768, 8}), 0);
}

// Closing: 12, then 1, then 2 during destruction; a false result of 12 or 1 keeps the window.
EventHandler g_onCloseRequest = &record;
EventHandler g_onMayClose = &record;
std::optional<int32_t> closeRequested(const EventNotice& n) { return g_onCloseRequest(n); }
std::optional<int32_t> mayClose(const EventNotice& n) { return g_onMayClose(n); }

class ClosingTest : public WindowTest {
 protected:
  WindowLayout layout() const override {
    WindowLayout copy = kMainWindowLayout;
    bindEvent(copy, kMainWindowUnit, kWindowCloseRequested, &closeRequested);
    bindEvent(copy, kMainWindowUnit, kWindowMayClose, &mayClose);
    bindEvent(copy, kMainWindowUnit, kWindowDestroying, &record);
    return copy;
  }
};

TEST_F(ClosingTest, TheCloseBoxRunsTheCloseEventsInOrder) {
  struct Row {
    const char* name;
    EventHandler onCloseRequest;
    EventHandler onMayClose;
    std::vector<int32_t> raised;
    bool closes;
  };
  const Row rows[] = {
      {"12 refuses", &refuse, &record, {kWindowCloseRequested}, false},
      {"1 refuses", &record, &refuse, {kWindowCloseRequested, kWindowMayClose}, false},
      {"12 agrees", &agree, &record, {kWindowCloseRequested, kWindowMayClose, kWindowDestroying}, true},
      {"nobody objects", &record, &record, {kWindowCloseRequested, kWindowMayClose, kWindowDestroying}, true},
  };
  for (const Row& row : rows) {
    if (!mainWindow()) {
      ASSERT_TRUE(openTestWindow(layout()));
      pump(50);
    }
    events().clear();
    g_onCloseRequest = row.onCloseRequest;
    g_onMayClose = row.onMayClose;
    HWND window = mainWindow();
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // what the close box sends
    pump(50);
    EXPECT_EQ(eventsOf(nullptr), row.raised) << row.name;
    EXPECT_EQ(IsWindow(window) == FALSE, row.closes) << row.name;
    EXPECT_EQ(mainWindow() == nullptr, row.closes) << row.name;
  }
  g_onCloseRequest = &record;
  g_onMayClose = &record;
}

TEST_F(ClosingTest, DestroyWindowGoesStraightToDestruction) {
  HWND window = mainWindow();
  runtime::destroyWindow(window);
  EXPECT_TRUE(IsWindow(window)) << "destroyWindow only posts its request";
  pump(50);
  EXPECT_EQ(eventsOf(nullptr), std::vector<int32_t>{kWindowDestroying});
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(runtime::programWindowCount(), 0);
}

TEST_F(RoutingTest, DestructionRunsTheHelpDocumentsDeletion) {
  // The real bindings of the window: 2 → deleteHelpDocument.
  ASSERT_TRUE(openTestWindow(kMainWindowLayout));
  EXPECT_EQ(timesCalled("writeHelpDocument"), 1);
  procedureLog().clear();
  PostMessageA(mainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
  pump(50);
  EXPECT_EQ(mainWindow(), nullptr);
  EXPECT_EQ(timesCalled("deleteHelpDocument"), 1);
}

// The ZIP component's progress event, as the extractor sees it.
std::optional<int32_t> cancelAtHalf(const EventNotice& notice) {
  events().push_back(notice);
  if (notice.arguments[0] >= 50) return 0;
  return 1;
}

class ZipTest : public WindowTest {
 protected:
  WindowLayout layout() const override {
    WindowLayout copy = kMainWindowLayout;
    bindEvent(copy, "ZIP压缩1", kProgress, &cancelAtHalf);
    return copy;
  }
};

TEST_F(ZipTest, ProgressReachesTheBoundHandlerWithItsPercentage) {
  unzip::ExtractionOwner* zip = extractionOwner("ZIP压缩1");
  ASSERT_NE(zip, nullptr);
  EXPECT_TRUE(zip->windowExists());
  struct Row {
    int32_t percent;
    bool returned;
    int32_t value;
  };
  for (const Row& row : {Row{0, true, 1}, Row{49, true, 1}, Row{50, true, 0}, Row{100, true, 0}}) {
    events().clear();
    const unzip::EventOutcome outcome = zip->raiseProgressEvent(row.percent);
    EXPECT_TRUE(outcome.handlerRan);
    EXPECT_EQ(outcome.returnedValue, row.returned);
    EXPECT_EQ(outcome.value, row.value);
    ASSERT_EQ(events().size(), 1u);
    EXPECT_EQ(events()[0].control, controlWindow("ZIP压缩1"));
    EXPECT_EQ(events()[0].argumentCount, 1);
    EXPECT_EQ(events()[0].arguments[0], row.percent);
  }
}

TEST_F(RoutingTest, UnboundProgressRunsNothing) {
  const unzip::EventOutcome outcome = extractionOwner("ZIP压缩1")->raiseProgressEvent(30);
  EXPECT_FALSE(outcome.handlerRan);
  EXPECT_FALSE(outcome.returnedValue);
}

}  // namespace
}  // namespace ui::testing
