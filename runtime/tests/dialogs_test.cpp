#include "runtime/dialogs.h"

#include <gtest/gtest.h>

#include "runtime/tests/test_support.h"

namespace runtime {
namespace {

TEST(MessageBoxStyle, TaskModalUnlessSystemModal) {
  struct Case {
    int32_t style;
    UINT shown;
  } cases[] = {
      {0, MB_TASKMODAL},
      {4, MB_YESNO | MB_TASKMODAL},
      {16, MB_ICONERROR | MB_TASKMODAL},
      {0x1000, MB_SYSTEMMODAL},
      {0x1000 | 4, MB_SYSTEMMODAL | MB_YESNO},
      {0x2000, MB_TASKMODAL},
      {0x100 | 3, MB_DEFBUTTON2 | MB_YESNOCANCEL | MB_TASKMODAL},
  };
  for (const Case& c : cases) EXPECT_EQ(messageBoxStyle(c.style), c.shown) << c.style;
}

TEST(MessageBoxAnswer, MapsButtonsToResults) {
  struct Case {
    int answer;
    int32_t style;
    MessageBoxResult result;
  } cases[] = {
      {IDOK, 0, kResultOk},         {IDCANCEL, 1, kResultCancel}, {IDABORT, 2, kResultAbort},
      {IDRETRY, 5, kResultRetry},   {IDIGNORE, 2, kResultIgnore}, {IDYES, 4, kResultYes},
      {IDNO, 4, kResultNo},         {0, 0, kResultOk},            {IDTRYAGAIN, 6, kResultOk},
      {IDCONTINUE, 6, kResultOk},   {IDCANCEL, 16, kResultOk},    {IDCANCEL, 3, kResultCancel},
  };
  for (const Case& c : cases) EXPECT_EQ(mapMessageBoxAnswer(c.answer, c.style), c.result) << c.answer;
}

struct LiveCase {
  const char* label;
  int32_t style;
  int press;  // a button id, or 0 for Escape
  MessageBoxResult expected;
};

const LiveCase kLive[] = {
    {"Yes/No answered No", 4, IDNO, kResultNo},
    {"Yes/No answered Yes", 4, IDYES, kResultYes},
    {"OK pressed", 0, IDOK, kResultOk},
    {"OK box closed by Escape", 0, 0, kResultOk},
    {"error box OK", 16, IDOK, kResultOk},
};

TEST(MessageBoxLive, AnsweredByAnotherThread) {
  for (const LiveCase& c : kLive) {
    SCOPED_TRACE(c.label);
    testsupport::BoxAnswerer answerer("测试标题", c.press);
    const MessageBoxResult result = messageBox("内容", c.style, Text("测试标题"));
    ASSERT_TRUE(answerer.finish());
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(answerer.box().text, "内容");
  }
}

TEST(MessageBoxLive, DefaultTitle) {
  testsupport::BoxAnswerer answerer("信息：", IDOK);
  EXPECT_EQ(messageBox("默认标题", 0), kResultOk);
  ASSERT_TRUE(answerer.finish());
  EXPECT_EQ(answerer.box().title, "信息：");
}

}  // namespace
}  // namespace runtime
