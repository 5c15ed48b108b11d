#include "installer/tests/e2e_helpers.h"

#include <gtest/gtest.h>

#include <cwchar>

#include "installer/tests/installer_driver.h"
#include "runtime/tests/test_support.h"
#include "runtime/text.h"

namespace installertest {

bool makeFolders(const std::string& folder) {
  for (size_t i = 3; i <= folder.size(); ++i) {
    if (i == folder.size() || folder[i] == '\\') CreateDirectoryW(runtime::toWide(folder.substr(0, i)).c_str(), nullptr);
  }
  return testsupport::isFolder(folder);
}

std::string freshGameFolder(const std::string& folder) {
  testsupport::removeTree(folder.substr(0, folder.rfind('\\')));
  EXPECT_TRUE(makeFolders(folder));
  EXPECT_TRUE(placeGame(folder));
  return folder;
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
