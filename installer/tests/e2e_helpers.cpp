#include "installer/tests/e2e_helpers.h"

#include <gtest/gtest.h>

#include "installer/tests/installer_driver.h"
#include "runtime/tests/test_support.h"

namespace installertest {

std::string freshGameFolder() {
  testsupport::removeTree("D:\\Games");
  CreateDirectoryA("D:\\Games", nullptr);
  CreateDirectoryA("D:\\Games\\Unturned", nullptr);
  EXPECT_TRUE(placeGame("D:\\Games\\Unturned"));
  return "D:\\Games\\Unturned";
}

std::array<ExpectedBox, 3> closingDialogue(bool startGame) {
  return {{
      {"来自青岚的提示:", "汉化已完成！感谢为您服务~", IDOK},
      {"———小岚的询问：", "是否需要现在上线体验？", startGame ? IDYES : IDNO},
      {"祝福：", "祝您游戏愉快~身体健康！生活快乐！！！", IDOK},
  }};
}

void answerDialogue(const ExpectedBox* boxes, int count) {
  for (int i = 0; i < count; ++i) {
    Box box;
    ASSERT_TRUE(nextBox(box)) << "box " << i << " did not appear: " << boxes[i].title;
    EXPECT_EQ(box.title, boxes[i].title);
    EXPECT_EQ(box.text, boxes[i].text);
    press(box, boxes[i].press);
  }
}

}  // namespace installertest
