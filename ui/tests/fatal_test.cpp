// Notices for windows or controls that do not exist, and a start-up window that cannot be
// built, are fatal: one box titled "错误", then exit code -1. A window that a handler
// destroys ends its start-up or close quietly.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/tests/test_support.h"

namespace ui {
namespace {

std::string probePath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.rfind('\\')) + "\\ui_fatal_probe.exe";
}

TEST(FatalTest, DispatchFailuresShowTheirBoxAndExitMinusOne) {
  struct Row {
    const char* mode;
    const char* message;  // nullptr: no box, exit code 0
  };
  const Row rows[] = {
      {"window", "未找到引发事件的窗口"},
      {"control", "未找到引发事件的窗口组件"},
      {"closed", "未找到引发事件的窗口"},
      {"startup", "载入启动窗口失败"},
      {"fine", nullptr},
      // A handler that destroys the window leaves no later event of the same start-up or
      // close to raise for a window that is gone.
      {"created-closes", nullptr},
      {"close-closes", nullptr},
  };
  for (const Row& row : rows) {
    const std::string command = "\"" + probePath() + "\" " + row.mode;
    if (row.message == nullptr) {
      EXPECT_EQ(testsupport::runProcess(command, 20000), 0u) << row.mode;
      continue;
    }
    testsupport::BoxAnswerer answerer("错误", IDOK);
    const DWORD code = testsupport::runProcess(command, 20000);
    const bool answered = answerer.finish();
    EXPECT_EQ(code, 0xFFFFFFFFu) << row.mode;
    ASSERT_TRUE(answered) << row.mode;
    EXPECT_EQ(answerer.box().text, std::string("运行时出错!\r\n\r\n错误信息：") + row.message + "\r\n") << row.mode;
  }
}

// While the box is shown, neither the two timers (ticking every 10 ms) nor a click sent to
// the window from another thread reach a procedure: the probe writes those that ran after
// the error, which must be none.
TEST(FatalTest, NoProcedureRunsWhileTheBoxIsShown) {
  testsupport::TempFolder folder("fatal_busy");
  const std::string log = folder / "procedures.txt";
  testsupport::ChildProcess probe("\"" + probePath() + "\" busy " + log);
  ASSERT_TRUE(probe.started());
  testsupport::FoundBox box;
  const bool shown = testsupport::waitForBox("错误", box, 20000);
  std::string ran = "<not written>";
  for (int i = 0; shown && i < 200 && ran == "<not written>"; ++i) {
    Sleep(50);
    ran = testsupport::readFileOr(log, "<not written>");
  }
  if (shown) testsupport::pressBoxButton(box, IDOK);
  const DWORD code = probe.finish(20000);
  ASSERT_TRUE(shown);
  EXPECT_EQ(box.text, "运行时出错!\r\n\r\n错误信息：未找到引发事件的窗口\r\n");
  EXPECT_EQ(ran, "");
  EXPECT_EQ(code, 0xFFFFFFFFu);
}

}  // namespace
}  // namespace ui
