// The one-click way end to end: the real program walks every drive of this test's prefix.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "installer/tests/e2e_helpers.h"
#include "installer/tests/installer_driver.h"
#include "installer/tests/tree_compare.h"
#include "runtime/files.h"
#include "runtime/tests/test_support.h"

namespace installertest {
namespace {

const char* const kProgress[] = {"汉化中：请稍后.", "汉化中：请稍后..", "汉化中：请稍后..."};

std::string installerPath() { return testFolder() + "\\QXInstaller.exe"; }

void makeGame(const std::string& parent, const std::string& folder) {
  testsupport::removeTree(parent);
  ASSERT_TRUE(makeFolders(folder));
  ASSERT_TRUE(placeGame(folder));
}

// The position of `text` in `texts` at or after `from`, or texts.size().
size_t find(const std::vector<std::string>& texts, const std::string& text, size_t from) {
  return std::find(texts.begin() + std::min(from, texts.size()), texts.end(), text) - texts.begin();
}

TEST(OneClick, FindsTheLastGameShowsTheProgressAndInstallsThere) {
  makeGame("D:\\Games", "D:\\Games\\Unturned");
  makeGame("E:\\Steam", "E:\\Steam\\steamapps\\common\\Unturned");
  const std::string found = "E:\\Steam\\steamapps\\common\\Unturned";

  InstallerProcess installer;
  ASSERT_TRUE(installer.start(installerPath()));
  StatusRecorder statuses(installer);
  installer.click(installer.automaticButton());

  Box box;
  ASSERT_TRUE(nextBox(box, 120000));
  EXPECT_EQ(box.title, "来自青岚的提示:");
  EXPECT_EQ(box.text, "汉化已完成！感谢为您服务~");
  const std::vector<std::string> shown = statuses.stop();
  press(box, IDOK);
  ASSERT_TRUE(nextBox(box));
  EXPECT_EQ(box.text, "是否需要现在上线体验？");
  press(box, IDYES);
  ASSERT_TRUE(nextBox(box));
  EXPECT_EQ(box.title, "祝福：");
  press(box, IDOK);
  EXPECT_EQ(installer.waitForExit(), 0u);

  // The status line: the announcement, the three progress texts in order, the completion, and
  // no progress text after it.
  std::string all;
  for (const std::string& s : shown) all += "[" + s + "]";
  size_t at = find(shown, "开始汉化!请勿进行其他操作！", 0);
  ASSERT_LT(at, shown.size()) << all;
  for (const char* text : kProgress) {
    at = find(shown, text, at + 1);
    ASSERT_LT(at, shown.size()) << text << " missing in " << all;
  }
  const size_t complete = find(shown, "汉化完成！", at + 1);
  EXPECT_LT(complete, shown.size()) << all;
  for (const char* text : kProgress) EXPECT_EQ(find(shown, text, complete), shown.size()) << text << " late in " << all;

  const std::vector<std::string> differences = compareWithReference(found);
  EXPECT_TRUE(differences.empty()) << differences.front();
  EXPECT_TRUE(zipFilesIn(found).empty());
  EXPECT_EQ(testsupport::listFolder("D:\\Games\\Unturned"), std::vector<std::string>{"Unturned.exe"});
  EXPECT_EQ(waitForBytes(found + "\\started.txt", 5000), "started");
}

// Run with the many folders of the progress case, so that the walk is long.
TEST(OneClick, ClosedDuringTheWalkWritesNothingAndEndsAtOnce) {
  makeGame("E:\\Steam", "E:\\Steam\\steamapps\\common\\Unturned");
  const std::string found = "E:\\Steam\\steamapps\\common\\Unturned";
  InstallerProcess installer;
  ASSERT_TRUE(installer.start(installerPath()));
  installer.click(installer.automaticButton());
  Sleep(3000);  // the two-second announcement, then a second of the walk
  installer.closeByUser();
  EXPECT_EQ(installer.waitForExit(3000), 0u);
  Box stray;
  EXPECT_FALSE(nextBox(stray, 300)) << stray.text;
  EXPECT_FALSE(runtime::fileExists(testFolder() + "\\" + kHelpName));
  EXPECT_EQ(testsupport::listFolder(found), std::vector<std::string>{"Unturned.exe"});
}

// The game in a folder named in any script is found and installed into on every system
// code page: Chinese (outside 1252 and 932), Korean and an emoji (outside every ANSI code page).
TEST(OneClick, FindsAndInstallsIntoAFolderNamedInAnyScript) {
  const char* const folders[] = {"D:\\游戏\\Unturned", "D:\\게임\\Unturned", "D:\\🎮\\Unturned"};
  testsupport::removeTree("D:\\Games");
  testsupport::removeTree("E:\\Steam");
  for (const std::string folder : folders) {
    SCOPED_TRACE(folder);
    const std::string parent = folder.substr(0, folder.rfind('\\'));
    makeGame(parent, folder);
    InstallerProcess installer;
    ASSERT_TRUE(installer.start(installerPath()));
    installer.click(installer.automaticButton());
    Box first;
    ASSERT_TRUE(nextBox(first, 120000));
    EXPECT_EQ(first.text, "汉化已完成！感谢为您服务~");
    press(first, IDOK);
    answerDialogue(closingDialogue(true).data() + 1, 2);
    EXPECT_EQ(installer.waitForExit(), 0u);
    const std::vector<std::string> differences = compareWithReference(folder);
    EXPECT_TRUE(differences.empty()) << differences.front();
    EXPECT_TRUE(zipFilesIn(folder).empty());
    EXPECT_EQ(waitForBytes(folder + "\\started.txt", 5000), "started");  // the game, started by its path
    testsupport::removeTree(parent);
  }
}

TEST(OneClick, NotFoundWritesNothingAndReturnsToIdle) {
  testsupport::removeTree("D:\\Games");
  testsupport::removeTree("E:\\Steam");
  InstallerProcess installer;
  ASSERT_TRUE(installer.start(installerPath()));
  installer.click(installer.automaticButton());
  Box box;
  ASSERT_TRUE(nextBox(box, 120000));
  EXPECT_EQ(box.title, "来自小岚的提示：");
  EXPECT_NE(box.text.find("未能在本机的磁盘上找到游戏"), std::string::npos) << box.text;
  EXPECT_NE(box.text.find("快速汉化"), std::string::npos);
  press(box, IDOK);
  Sleep(100);
  EXPECT_EQ(installer.status(), "初始化完成！可以开始汉化~");
  EXPECT_TRUE(IsWindowEnabled(installer.automaticButton()));
  EXPECT_TRUE(IsWindowEnabled(installer.typedFolderButton()));
  for (const char* root : {"C:\\", "D:\\", "E:\\"}) {
    for (const char* name : {"Translations.zip", "Translations", "Bundles"}) {
      EXPECT_FALSE(runtime::fileExists(std::string(root) + name)) << root << name;
    }
  }
  installer.closeByUser();
  EXPECT_EQ(installer.waitForExit(), 0u);
}

TEST(OneClick, ASecondClickDuringTheWaitStartsNothingAndClosingEndsTheProgramCleanly) {
  makeGame("D:\\Games", "D:\\Games\\Unturned");
  testsupport::removeTree("E:\\Steam");
  InstallerProcess installer;
  ASSERT_TRUE(installer.start(installerPath()));
  installer.click(installer.automaticButton());
  Sleep(400);
  EXPECT_EQ(installer.status(), "开始汉化!请勿进行其他操作！");
  EXPECT_FALSE(IsWindowEnabled(installer.automaticButton()));
  EXPECT_FALSE(IsWindowEnabled(installer.typedFolderButton()));
  installer.click(installer.automaticButton());
  installer.click(installer.typedFolderButton());
  Sleep(300);
  installer.closeByUser();
  EXPECT_EQ(installer.waitForExit(10000), 0u);
  EXPECT_EQ(testsupport::listFolder("D:\\Games\\Unturned"), std::vector<std::string>{"Unturned.exe"});
  EXPECT_FALSE(runtime::fileExists(testFolder() + "\\" + kHelpName));
  Box stray;
  EXPECT_FALSE(nextBox(stray, 500));  // no box of a second run
}

}  // namespace
}  // namespace installertest
