// The banner and the progress text, in the real main window of this process.
#include <gtest/gtest.h>

#include "installer/controls.h"
#include "installer/procedures.h"
#include "ui/properties.h"

namespace installer {
namespace {

class MainWindow : public testing::Test {
 protected:
  void SetUp() override {
    ui::openStartupWindow(kWindowProcedures);
    ASSERT_NE(ui::mainWindow(), nullptr);
    // The banner timer is not serviced: no message is dispatched while a case runs.
  }
  void TearDown() override {
    if (ui::mainWindow() != nullptr) DestroyWindow(ui::mainWindow());
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
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

TEST_F(MainWindow, ProgressTextEndsOnItsThirdText) {
  EXPECT_EQ(ui::getText(kStatusLine, ui::kTransLabelCaption), kIdleText);
  animateProgressText();
  EXPECT_EQ(ui::getText(kStatusLine, ui::kTransLabelCaption), "汉化中：请稍后...");
}

}  // namespace
}  // namespace installer
