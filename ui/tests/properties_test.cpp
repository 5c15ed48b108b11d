// Property access by unit name and number on the real window.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/events.h"
#include "ui/control_kinds.h"
#include "ui/tests/recording_procedures.h"
#include "ui/tests/window_fixture.h"

namespace ui::testing {
namespace {

class PropertiesTest : public WindowTest {};

TEST_F(PropertiesTest, NumbersAreClampedStoredAndReadBackLive) {
  struct Row {
    const char* unit;
    int32_t number;
    int32_t written;
    int32_t read;
  };
  const Row rows[] = {
      {"标签1", kLeft, -40000, -32627},
      {"标签1", kLeft, 40000, 32627},
      {"标签1", kLeft, -770, -770},
      {"标签1", kTop, -32628, -32627},
      {"标签1", kTop, 12, 12},
      {"标签1", kWidth, -5, 0},
      {"标签1", kWidth, 50000, 32627},
      {"标签2", kHeight, 30, 30},
      {"时钟2", kTimerInterval, -5, 0},
      {"时钟2", kTimerInterval, 4000, 4000},
      {"透明标签1", kTransLabelHorizontal, 2, 2},
      {"分隔条1", kSplitterBackColour, 0x00FF00, 0x00FF00},
  };
  for (const Row& row : rows) {
    setProperty(row.unit, row.number, row.written);
    EXPECT_EQ(getNumber(row.unit, row.number), row.read) << row.unit << " #" << row.number << " = " << row.written;
  }
}

TEST_F(PropertiesTest, PositionsAndSizesAreTheLiveWindowRectangles) {
  struct Row {
    const char* unit;
    int32_t left, top, width, height;
  };
  const Row rows[] = {
      {"按钮1", 606, 172, 154, 48},   {"标签1", 710, 0, 780, 48},      {"标签2", -1, 464, 105, 18},
      {"分隔条1", 0, 248, 768, 8},    {"编辑框1", 351, 281, 256, 24},  {"透明标签7", 8, 328, 608, 112},
      {"时钟1", 856, 264, 32, 40},    {"ZIP压缩1", 864, 360, 64, 114},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(getNumber(row.unit, kLeft), row.left) << row.unit;
    EXPECT_EQ(getNumber(row.unit, kTop), row.top) << row.unit;
    EXPECT_EQ(getNumber(row.unit, kWidth), row.width) << row.unit;
    EXPECT_EQ(getNumber(row.unit, kHeight), row.height) << row.unit;
  }
  // The main window's width is its outer width, and its place the centred one.
  EXPECT_EQ(getNumber(kMainWindowUnit, kWidth), 780);
  EXPECT_EQ(getNumber(kMainWindowUnit, kHeight), 514);
  EXPECT_EQ(getNumber(kMainWindowUnit, kLeft), (GetSystemMetrics(SM_CXSCREEN) - 780) / 2);
  EXPECT_EQ(getNumber(kMainWindowUnit, kTop), (GetSystemMetrics(SM_CYSCREEN) - 514) / 2);
  // A move made behind the property's back is what the next read sees.
  SetWindowPos(controlWindow("标签1"), nullptr, 300, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(getNumber("标签1", kLeft), 300);
  EXPECT_EQ(getNumber("标签1", kTop), 5);
}

TEST_F(PropertiesTest, BannerScrollSequenceKeepsItsPlace) {
  // The banner's own arithmetic: read left, write left - 5, read back.
  setProperty("标签1", kLeft, -765);
  setProperty("标签1", kLeft, getNumber("标签1", kLeft) - 5);
  EXPECT_EQ(getNumber("标签1", kLeft), -770);
  setProperty("标签1", kLeft, getNumber(kMainWindowUnit, kWidth));
  EXPECT_EQ(getNumber("标签1", kLeft), 780);
  EXPECT_EQ(getNumber("标签1", kTop), 0);
  EXPECT_EQ(getNumber("标签1", kWidth), 780);
}

TEST_F(PropertiesTest, TextsAreAppliedToTheControls) {
  struct Row {
    const char* unit;
    int32_t number;
    const char* text;
  };
  const Row rows[] = {
      {"透明标签1", kTransLabelCaption, "开始汉化!请勿进行其他操作！"},
      {"透明标签1", kTransLabelCaption, ""},
      {"按钮1", kButtonCaption, "再来一次"},
      {"标签3", kLabelCaption, "请稍候"},
      {"编辑框1", kEditBoxContent, " D:\\游戏\\乗 "},
      {"编辑框1", kEditBoxContent, "D:\\Jörg\\게임\\😀"},  // none of them in code page 936
      {kMainWindowUnit, kWindowTitle, "QX一键汉化 2"},
  };
  for (const Row& row : rows) {
    setProperty(row.unit, row.number, runtime::Text(row.text));
    EXPECT_EQ(getText(row.unit, row.number), row.text) << row.unit;
    HWND hwnd = std::string(row.unit) == kMainWindowUnit ? mainWindow() : controlWindow(row.unit);
    // As the user sees it: the A function would convert back and hide a wrong text.
    wchar_t shown[256] = {};
    GetWindowTextW(hwnd, shown, 256);
    EXPECT_EQ(runtime::toUtf8(shown), row.text) << row.unit;
  }
}

// Typed characters reach the box as the keyboard delivers them, UTF-16 units in WM_CHAR
// through the program's own message loop, whatever the system's code page.
TEST_F(PropertiesTest, TypedContentComesBackAsTyped) {
  const char* const typed[] = {
      "  C:\\Program Files\\Unturned  ",
      " D:\\游戏\\乗俓\\Unturned ",
      " D:\\게임\\Jörg\\😀\\Unturned ",  // outside code page 936; the emoji is a surrogate pair
      "   ",
      "x",
  };
  HWND edit = controlWindow("编辑框1");
  for (const char* text : typed) {
    setProperty("编辑框1", kEditBoxContent, runtime::Text());
    SetFocus(edit);
    for (wchar_t unit : runtime::toWide(text)) PostMessageW(edit, WM_CHAR, unit, 1);
    pump();
    EXPECT_EQ(getText("编辑框1", kEditBoxContent), text);
  }
  // No limit of its own: far more than the 32,767 characters of a plain box.
  const runtime::Text longText(40000, 'a');
  setProperty("编辑框1", kEditBoxContent, longText);
  SetFocus(edit);
  PostMessageW(edit, WM_CHAR, 'b', 1);
  pump();
  EXPECT_EQ(getText("编辑框1", kEditBoxContent).size(), 40001u);
}

// The font records hold their face names in code page 936 bytes; the fonts are made from the
// faces they name on every system, whatever its code page.
TEST_F(PropertiesTest, FontRecordsNameTheirFaces) {
  struct Row {
    const char* unit;
    int32_t number;
    const wchar_t* face;
  } rows[] = {
      {"透明标签1", kTransLabelFont, L"新宋体"},  {"透明标签2", kTransLabelFont, L"仿宋"},
      {"标签1", kLabelFont, L"华文行楷"},          {"标签3", kLabelFont, L"新宋体"},
      {"按钮1", kButtonFont, L"hakuyoxingshu7000"},
  };
  for (const Row& row : rows) {
    const runtime::Text record = getText(row.unit, row.number);
    EXPECT_EQ(record.size(), 60u) << row.unit;
    LOGFONTW font{};
    ASSERT_TRUE(wideFont(record, font)) << row.unit;
    EXPECT_EQ(std::wstring(font.lfFaceName), row.face) << row.unit;
  }
}

TEST_F(PropertiesTest, UnknownUnitsAndNumbersAreHarmless) {
  setProperty("不存在", kLeft, 5);
  EXPECT_EQ(getNumber("不存在", kLeft), 0);
  EXPECT_EQ(getText("不存在", kTag), "0");
  setProperty("时钟2", 99, 5);
  EXPECT_EQ(getNumber("时钟2", 99), 0);
  setProperty("按钮1", kTag, runtime::Text("标记"));
  EXPECT_EQ(getText("按钮1", kTag), "标记");
  EXPECT_EQ(extractionOwner("按钮1"), nullptr);
  EXPECT_EQ(extractionOwner("不存在"), nullptr);
}

TEST_F(PropertiesTest, AfterTheWindowIsGoneValuesAreOnlyStored) {
  DestroyWindow(mainWindow());
  pump();
  EXPECT_EQ(mainWindow(), nullptr);
  EXPECT_EQ(controlWindow("时钟2"), nullptr);
  setProperty("时钟2", kTimerInterval, 4000);
  EXPECT_EQ(getNumber("时钟2", kTimerInterval), 4000);
  setProperty("时钟2", kTimerInterval, -5);
  EXPECT_EQ(getNumber("时钟2", kTimerInterval), 0);
  setProperty("透明标签1", kTransLabelCaption, runtime::Text("汉化完成！"));
  EXPECT_EQ(getText("透明标签1", kTransLabelCaption), "汉化完成！");
  setProperty("标签1", kLeft, -40000);
  EXPECT_EQ(getNumber("标签1", kLeft), -32627);
  unzip::ExtractionOwner* zip = extractionOwner("ZIP压缩1");
  ASSERT_NE(zip, nullptr);
  EXPECT_FALSE(zip->windowExists());
  const unzip::EventOutcome outcome = zip->raiseProgressEvent(50);
  EXPECT_FALSE(outcome.handlerRan);
}

// Timer intervals: ticks of 时钟2 are noted with their time.
std::vector<DWORD>& tickTimes() {
  static std::vector<DWORD> times;
  return times;
}
std::optional<int32_t> noteTick(const EventNotice&) {
  tickTimes().push_back(GetTickCount());
  return std::nullopt;
}

class TimerTest : public WindowTest {
 protected:
  WindowLayout layout() const override {
    WindowLayout copy = kMainWindowLayout;
    bindEvent(copy, "时钟2", kTick, &noteTick);
    return copy;
  }
  void SetUp() override {
    WindowTest::SetUp();
    tickTimes().clear();
  }
  // Waits until a tick arrives or the time is up; the tick's delay from `since`, or -1.
  int waitForTick(DWORD since, int limit) {
    const size_t before = tickTimes().size();
    while (tickTimes().size() == before && static_cast<int>(GetTickCount() - since) < limit) pump(20);
    return tickTimes().size() == before ? -1 : static_cast<int>(tickTimes()[before] - since);
  }
};

TEST_F(TimerTest, SettingTheSameIntervalAgainDoesNotRestartThePeriod) {
  const DWORD start = GetTickCount();
  setProperty("时钟2", kTimerInterval, 4000);
  pump(2500);
  setProperty("时钟2", kTimerInterval, 4000);
  const int first = waitForTick(start, 8000);
  // A restart would put the first tick at 6500 ms.
  EXPECT_GE(first, 3900);
  EXPECT_LT(first, 6000);
}

TEST_F(TimerTest, ZeroAndNegativeIntervalsStopTheTimer) {
  for (int32_t stop : {0, -5}) {
    setProperty("时钟2", kTimerInterval, 150);
    ASSERT_GE(waitForTick(GetTickCount(), 3000), 0) << "the timer never ran";
    setProperty("时钟2", kTimerInterval, stop);
    EXPECT_EQ(getNumber("时钟2", kTimerInterval), 0);
    pump(50);  // a tick that was already queued may still arrive
    const size_t before = tickTimes().size();
    pump(700);
    EXPECT_EQ(tickTimes().size(), before) << "still ticking after interval " << stop;
  }
}

TEST_F(TimerTest, AChangedIntervalRestartsWithTheNewPeriod) {
  setProperty("时钟2", kTimerInterval, 3000);
  pump(300);
  const DWORD changed = GetTickCount();
  setProperty("时钟2", kTimerInterval, 600);
  const int first = waitForTick(changed, 5000);
  EXPECT_GE(first, 550);
  EXPECT_LT(first, 2000);
}

TEST_F(TimerTest, TheBannerTimerRunsFromTheStartAndStopsWithTheWindow) {
  pump(700);
  EXPECT_GE(timesCalled("scrollBanner"), 2);
  DestroyWindow(mainWindow());
  procedureLog().clear();
  pump(500);
  EXPECT_EQ(timesCalled("scrollBanner"), 0);
}

}  // namespace
}  // namespace ui::testing
