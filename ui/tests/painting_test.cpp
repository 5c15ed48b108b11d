// What a caption change leaves on screen: the window's pixels against the decoded background
// picture scaled the same way, and against the window as it looked before.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/tests/window_fixture.h"

namespace ui::testing {
namespace {

class PaintingTest : public WindowTest {
 protected:
  // Parts of 透明标签1's rectangle (client coordinates).
  RECT label() const { return controlRect("透明标签1"); }
  RECT overlapWith(const char* unit) const {
    RECT a = label(), b = controlRect(unit), both{};
    IntersectRect(&both, &a, &b);
    return both;
  }
  // Rows of the label that no other visible control touches: y 33 to 172 (按钮1 starts at 172,
  // 透明标签3 at 176, 标签1 ends at 48 but may have scrolled away: its timer is stopped).
  RECT freePart() const {
    RECT l = label();
    return RECT{l.left, 48, l.right, 172};
  }
  void SetUp() override {
    WindowTest::SetUp();
    // The banner stays where it is and the pointer away, so nothing else repaints.
    setProperty("时钟1", kTimerInterval, 0);
    setProperty("标签1", kLeft, 710);
    pump(50);
  }
  static RECT relative(const RECT& part, const RECT& to) {
    RECT r = part;
    OffsetRect(&r, -to.left, -to.top);
    return r;
  }
};

TEST_F(PaintingTest, TheBackgroundIsTheStretchedPictureAndIntact) {
  RECT client{};
  GetClientRect(mainWindow(), &client);
  // Areas with no control over them: left of 透明标签1 above the hints, and below the tips.
  for (const RECT& area : {RECT{0, 60, 16, 88}, RECT{0, 440, 580, 464}, RECT{160, 88, 176, 170}}) {
    const Pixels shown = captureClient(mainWindow(), area);
    const Pixels expected = expectedBackground(mainWindow(), area);
    EXPECT_EQ(differences(shown, expected, relative(area, area)), 0)
        << area.left << "," << area.top << " " << area.right << "," << area.bottom;
  }
  EXPECT_EQ(client.right, 770);
}

TEST_F(PaintingTest, ACaptionChangeLeavesNoTraceOfTheOldText) {
  const RECT whole = label();
  const Pixels original = captureClient(mainWindow(), whole);
  const RECT button = relative(overlapWith("按钮1"), whole);
  const RECT hint = relative(overlapWith("透明标签3"), whole);
  const RECT free = relative(freePart(), whole);
  ASSERT_FALSE(IsRectEmpty(&button));
  ASSERT_FALSE(IsRectEmpty(&hint));

  // A long text at the bottom of the label covers both overlaps; it must show there.
  setProperty("透明标签1", kTransLabelVertical, kAlignBottom);
  setProperty("透明标签1", kTransLabelCaption, runtime::Text("汉化中：请稍后汉化中：请稍后汉化中：请稍后..."));
  const Pixels written = captureClient(mainWindow(), whole);
  ASSERT_GT(differences(original, written, button), 50) << "the text did not reach 按钮1";
  ASSERT_GT(differences(original, written, hint), 50) << "the text did not reach 透明标签3";

  // The empty caption erases it all, without any message being dispatched in between.
  setProperty("透明标签1", kTransLabelCaption, runtime::Text());
  const Pixels erased = captureClient(mainWindow(), whole);
  EXPECT_EQ(differences(original, erased, button), 0) << "old text left over 按钮1";
  EXPECT_EQ(differences(original, erased, hint), 0) << "old text left over 透明标签3";
  const Pixels picture = expectedBackground(mainWindow(), whole);
  EXPECT_EQ(differences(picture, erased, free), 0) << "old text left over the picture";
  const RECT below = relative(RECT{whole.left + 360, 176, whole.right, 201}, whole);  // right of 透明标签3, left of 按钮1
  EXPECT_EQ(differences(picture, erased, RECT{below.left, below.top, button.left, below.bottom}), 0);
}

TEST_F(PaintingTest, ANewShortTextDrawsOnlyWhereItsGlyphsAre) {
  const RECT whole = label();
  setProperty("透明标签1", kTransLabelVertical, kAlignBottom);
  setProperty("透明标签1", kTransLabelCaption, runtime::Text("汉化中：请稍后汉化中：请稍后汉化中：请稍后..."));
  setProperty("透明标签1", kTransLabelVertical, kAlignTop);
  setProperty("透明标签1", kTransLabelCaption, runtime::Text("汉化完成！"));
  const Pixels shown = captureClient(mainWindow(), whole);
  const Pixels picture = expectedBackground(mainWindow(), whole);
  // The new text stands in the top 40 rows and the left 200 columns; the rest of the free
  // part is the picture.
  RECT rest = relative(freePart(), whole);
  rest.top = 48;
  EXPECT_EQ(differences(picture, shown, RECT{200, 0, rest.right, rest.bottom}), 0);
  EXPECT_EQ(differences(picture, shown, RECT{0, 48, rest.right, rest.bottom}), 0);
  EXPECT_GT(differences(picture, shown, RECT{0, 15, 200, 48}), 100) << "the new text is missing";
}

TEST_F(PaintingTest, TheTextEffectsDrawTheirShadows) {
  // Effect rows: what lies one or two pixels right and down of the main text.
  const RECT whole = label();
  setProperty("透明标签1", kTransLabelCaption, runtime::Text("一"));  // one horizontal stroke
  const Pixels plain = captureClient(mainWindow(), whole);
  struct Row {
    int32_t effect;
    bool addsPixels;
  };
  for (const Row& row : {Row{1, true}, Row{2, true}, Row{3, true}, Row{0, false}}) {
    setProperty("透明标签1", kTransLabelEffect, row.effect);
    const Pixels shown = captureClient(mainWindow(), whole);
    EXPECT_EQ(differences(plain, shown, RECT{0, 0, whole.right - whole.left, whole.bottom - whole.top}) > 0,
              row.addsPixels)
        << "effect " << row.effect;
  }
}

}  // namespace
}  // namespace ui::testing
