// The banner and the progress text, in the real main window of this process.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "installer/controls.h"
#include "installer/game_search.h"
#include "installer/globals.h"
#include "installer/installation_run.h"
#include "installer/procedures.h"
#include "runtime/events.h"
#include "runtime/tests/test_support.h"
#include "runtime/text.h"
#include "ui/properties.h"

namespace installer {
namespace {

class MainWindow : public testing::Test {
 protected:
  void SetUp() override {
    ui::openStartupWindow(kWindowProcedures);
    ASSERT_NE(ui::mainWindow(), nullptr);
    // The banner cases dispatch no message, so the banner timer does not move the banner.
  }
  void TearDown() override {
    if (ui::mainWindow() != nullptr) DestroyWindow(ui::mainWindow());
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
};

TEST_F(MainWindow, BannerMovesFivePixelsATickAndEntersAgainFromTheRight) {
  ASSERT_EQ(ui::getNumber(kBanner, ui::kLeft), 710);
  ASSERT_EQ(ui::getNumber(ui::kMainWindowUnit, ui::kWidth), 780);
  for (int n = 1; n <= 295; ++n) {
    scrollBanner();
    ASSERT_EQ(ui::getNumber(kBanner, ui::kLeft), 710 - 5 * n) << n;
  }
  scrollBanner();  // the 296th tick reaches -770 and jumps to the window's width
  EXPECT_EQ(ui::getNumber(kBanner, ui::kLeft), 780);
  scrollBanner();
  EXPECT_EQ(ui::getNumber(kBanner, ui::kLeft), 775);
  for (int n = 0; n < 309; ++n) scrollBanner();  // a later pass takes 310 ticks
  EXPECT_EQ(ui::getNumber(kBanner, ui::kLeft), 780);
}

TEST_F(MainWindow, BannerResetsOnlyOnExactlyMinus770) {
  struct Case {
    int32_t from;
    int32_t to;
  } cases[] = {{-764, -769}, {-765, 780}, {-766, -771}, {-771, -776}, {0, -5}};
  for (const auto& c : cases) {
    ui::setProperty(kBanner, ui::kLeft, c.from);
    scrollBanner();
    EXPECT_EQ(ui::getNumber(kBanner, ui::kLeft), c.to) << c.from;
  }
}

const char* const kProgress[] = {"汉化中：请稍后.", "汉化中：请稍后..", "汉化中：请稍后..."};

std::string status() { return ui::getText(kStatusLine, ui::kTransLabelCaption); }

// Dispatches messages until `ms` have passed since `since`.
void pumpUntil(DWORD since, DWORD ms) {
  const DWORD elapsed = GetTickCount() - since;
  if (elapsed < ms) runtime::delay(static_cast<int32_t>(ms - elapsed));
}

TEST_F(MainWindow, ProgressTextEndsOnItsThirdText) {
  ui::setProperty(kProgressTimer, ui::kTimerInterval, 4000);  // as a one-click run sets it
  EXPECT_EQ(status(), kIdleText);
  const DWORD tick = GetTickCount();
  animateProgressText();
  EXPECT_EQ(status(), kProgress[0]);
  pumpUntil(tick, 1400);
  EXPECT_EQ(status(), kProgress[2]);
  pumpUntil(tick, 2200);
  EXPECT_EQ(status(), kProgress[2]);  // it stays until the next tick
}

// How late a timer may come on a loaded machine without the case failing.
constexpr DWORD kLateTimerAllowance = 2000;

// What the status line showed, each time the walk let messages through.
struct Sample {
  DWORD at;
  std::string status;
};
std::vector<Sample>* samples = nullptr;
DWORD tickAt = 0;
DWORD tickHandledIn = 0;

void CALLBACK sampleDuringTheWalk(HWND, UINT, UINT_PTR, DWORD) {
  if (tickAt == 0) {
    // A tick of the progress timer arrives in the middle of the walk.
    tickAt = GetTickCount();
    animateProgressText();
    tickHandledIn = GetTickCount() - tickAt;
  }
  samples->push_back({GetTickCount(), status()});
}

TEST_F(MainWindow, ProgressTextsComeHalfASecondApartWhileTheWalkGoesOn) {
  // A thousand folders and no game: every walk lists them all. Each walk must last longer
  // than a frame, or it never looks at the window: two hundred folders were walked in less
  // than that on a quiet machine.
  testsupport::removeTree("D:\\walk");
  CreateDirectoryW(L"D:\\walk", nullptr);
  for (int i = 0; i < 1000; ++i) {
    const std::string folder = "D:\\walk\\" + std::to_string(1000 + i);
    CreateDirectoryW(runtime::toWide(folder).c_str(), nullptr);
  }
  // Several ticks, each followed under the walk until its third text: the gaps between the
  // texts as the walk saw them. A text is seen only when the walk next lets messages through,
  // so one seen late shortens the gap after it; a loaded machine delays a timer now and then.
  // The median gap is half a second all the same.
  constexpr int kTicks = 5;
  std::vector<DWORD> gaps;
  for (int tick = 0; tick < kTicks; ++tick) {
    SCOPED_TRACE("tick " + std::to_string(tick));
    // Written anew for each tick, so that the progress timer's own tick (4 s) stays away.
    ui::setProperty(kProgressTimer, ui::kTimerInterval, 0);
    ui::setProperty(kProgressTimer, ui::kTimerInterval, 4000);
    std::vector<Sample> seen;
    samples = &seen;
    tickAt = 0;
    const UINT_PTR sampler = SetTimer(nullptr, 0, 10, sampleDuringTheWalk);
    const DWORD start = GetTickCount();
    // Until the third text has been seen under the walk, or long past when it is due.
    while (GetTickCount() - start < 3000 + kLateTimerAllowance &&
           (tickAt == 0 || seen.empty() ||
            (seen.back().status != kProgress[2] && GetTickCount() - tickAt < 1300 + kLateTimerAllowance))) {
      searchFolder("D:\\walk", kGameExeName);
    }
    KillTimer(nullptr, sampler);
    samples = nullptr;

    ASSERT_NE(tickAt, 0u);
    EXPECT_LT(tickHandledIn, 100u);  // the tick handler returns at once
    std::string all;
    for (const Sample& s : seen) all += "[" + std::to_string(s.at - tickAt) + " " + s.status + "]";
    // Each text: when it was first seen, and how often the walk let messages through under it.
    DWORD firstSeen[3] = {};
    int seenUnder[3] = {};
    int next = 0;
    for (const Sample& s : seen) {
      if (next < 3 && s.status == kProgress[next]) firstSeen[next++] = s.at;
      ASSERT_GT(next, 0) << "before the first text: " << all;
      ASSERT_EQ(s.status, kProgress[next - 1]) << "out of order: " << all;
      ++seenUnder[next - 1];
    }
    ASSERT_EQ(next, 3) << all;
    gaps.push_back(firstSeen[1] - firstSeen[0]);
    gaps.push_back(firstSeen[2] - firstSeen[1]);
    // The walk went on under the first two texts: it let messages through again and again.
    EXPECT_GE(seenUnder[0], 2) << all;
    EXPECT_GE(seenUnder[1], 2) << all;
  }
  testsupport::removeTree("D:\\walk");
  std::sort(gaps.begin(), gaps.end());
  std::string all;
  for (DWORD gap : gaps) all += std::to_string(gap) + " ";
  const DWORD median = (gaps[gaps.size() / 2 - 1] + gaps[gaps.size() / 2]) / 2;
  std::printf("progress text gaps (ms): %smedian %lu\n", all.c_str(), static_cast<unsigned long>(median));
  EXPECT_GE(median, 450u) << all;
  EXPECT_LE(median, 650u) << all;
}

// What ends the animation, and the status line it leaves.
struct StopCase {
  const char* label;
  void (*stop)();
  const char* statusAfter;
  std::vector<std::pair<const char*, int>> boxes;  // title, button pressed
};

void finishTheRun() {
  gameExePath = "D:\\nowhere\\Unturned.exe";
  finishRun(InstallReport{});
}
void findNothing() {
  gameExePath.clear();
  installFromFoundGame();
}
void failToWrite() { installInto("D:\\missing\\Unturned"); }
void closeTheWindow() { PostMessageW(ui::mainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); }

TEST_F(MainWindow, NoProgressTextAppearsOnceTheAnimationHasStopped) {
  const StopCase cases[] = {
      {"completion", finishTheRun, kCompleteText,
       {{"来自青岚的提示:", IDOK}, {"———小岚的询问：", IDNO}, {"祝福：", IDOK}}},
      {"nothing found", findNothing, kIdleText, {{"来自小岚的提示：", IDOK}}},
      {"a failed write", failToWrite, kFailedText, {{"来自小岚的提示：", IDOK}}},
      {"the window closed", closeTheWindow, kProgress[0], {}},
  };
  for (const StopCase& c : cases) {
    SCOPED_TRACE(c.label);
    SetUp();  // a fresh window for each case
    ui::setProperty(kProgressTimer, ui::kTimerInterval, 4000);
    std::vector<std::unique_ptr<testsupport::BoxAnswerer>> answerers;
    for (const auto& box : c.boxes) answerers.push_back(std::make_unique<testsupport::BoxAnswerer>(box.first, box.second));
    const DWORD tick = GetTickCount();
    animateProgressText();
    c.stop();
    pumpUntil(tick, 1300);  // past the times of both texts that were due
    EXPECT_EQ(status(), c.statusAfter);
    for (auto& answerer : answerers) EXPECT_TRUE(answerer->finish());
  }
}

}  // namespace
}  // namespace installer
