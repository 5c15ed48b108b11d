// Linked into every test program that runs under Wine. Each registration of a test program
// names the system code page its locale must give (QX_EXPECTED_CODE_PAGE, cmake/WineTests.cmake):
// a run that got another one fails before any test, rather than passing while testing the wrong
// system.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>

namespace {

class CodePageCheck : public testing::Environment {
 public:
  void SetUp() override {
    wchar_t expected[16] = {};
    if (GetEnvironmentVariableW(L"QX_EXPECTED_CODE_PAGE", expected, 16) == 0) return;  // not started by ctest
    ASSERT_EQ(GetACP(), std::wcstoul(expected, nullptr, 10));
  }
};
testing::Environment* const codePageCheck = testing::AddGlobalTestEnvironment(new CodePageCheck);

}  // namespace
