#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "runtime/fatal.h"
#include "runtime/files.h"
#include "runtime/program.h"
#include "runtime/system_functions.h"
#include "runtime/tests/test_support.h"

namespace runtime {
namespace {

using testsupport::TempFolder;

std::string probePath() { return runDirectory() + "\\runtime_probe.exe"; }

TEST(FatalText, Layout) {
  struct Case {
    int32_t code;
    const char* message;
    const char* text;
  } cases[] = {
      {0, "", "运行时出错!\r\n"},
      {0, "载入启动窗口失败", "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
      {5, "", "运行时出错!\r\n\r\n错误代码：5\r\n"},
      {-7, "坏", "运行时出错!\r\n\r\n错误代码：-7\r\n\r\n错误信息：坏\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(fatalErrorText(c.code, c.message), c.text);
}

TEST(RunDirectory, CutAtTheLastBackslash) {
  struct Case {
    const char* path;
    const char* directory;
  } cases[] = {
      {"C:\\Tools\\setup.exe", "C:\\Tools"},
      {"D:\\setup.exe", "D:"},
      {"setup.exe", ""},
      {"C:\\\x95\x5C\\a.exe", "C:\\\x95\x5C"},  // a GBK trail byte 0x5C is not the cut
      {"\\\\server\\share\\x.exe", "\\\\server\\share"},
  };
  for (const auto& c : cases) EXPECT_EQ(directoryOfModulePath(c.path), c.directory) << c.path;
}

TEST(Frame, LastWindowEndsTheLoopWithExitCodeZeroAfterTheCleanupList) {
  TempFolder dir("frame_loop");
  const std::string marker = dir / "marker.txt";
  const DWORD code = testsupport::runProcess("\"" + probePath() + "\" loop \"" + marker + "\"");
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(testsupport::readFileOr(marker, "<none>"), "loop ended\nfirst\nsecond\n");
}

// Under the box nothing of the program runs: in "fatal-busy" timers tick, a message is posted
// and the window's destruction is requested before the error, and the box must stay up
// without any of it reaching the program (the marker stays absent).
TEST(Frame, FatalErrorShowsItsBoxAndExitsMinusOneWithoutCleanupOrAnyProgramCode) {
  struct Row {
    const char* mode;
    const char* message;
  } rows[] = {
      {"fatal", "无法找到指定DLL库文件“kernel32.dll”中的输出命令“NoSuchFunctionA”"},
      {"fatal-busy", "无法找到指定DLL库文件“kernel32.dll”中的输出命令“NoSuchFunctionA”"},
      // Through the delay-load helper, which would otherwise raise an unhandled exception.
      {"delay-export", "无法找到指定DLL库文件“kernel32.dll”中的输出命令“QxNoSuchExport”"},
      {"delay-library", "无法找到指定DLL库文件“qx_no_such_library.dll”中的输出命令“QxFunctionOfNoLibrary”"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.mode);
    TempFolder dir("frame_fatal");
    const std::string marker = dir / "marker.txt";
    const std::string command = "\"" + probePath() + "\" " + row.mode + " \"" + marker + "\"";
    testsupport::ChildProcess probe(command);
    ASSERT_TRUE(probe.started());
    testsupport::FoundBox box;
    const bool shown = testsupport::waitForBox("错误", box);
    bool stayed = false;
    if (shown) {
      EXPECT_EQ(box.text, std::string("运行时出错!\r\n\r\n错误信息：") + row.message + "\r\n");
      Sleep(500);  // fifty timer periods
      stayed = IsWindowVisible(box.window) != FALSE;
      testsupport::pressBoxButton(box, IDOK);
    }
    const DWORD code = probe.finish(10000);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(code, 0xFFFFFFFFu);
    EXPECT_EQ(testsupport::readFileOr(marker, "<none>"), "<none>");  // neither clean-up nor program code
  }
}

TEST(Frame, RunDirectoryOfAProgramInADriveRootIsTheBareDrive) {
  TempFolder dir("frame_rundir");
  ASSERT_TRUE(CopyFileA(probePath().c_str(), "D:\\probe.exe", FALSE));
  const std::string out = dir / "out.txt";
  EXPECT_EQ(testsupport::runProcess("D:\\probe.exe rundir \"" + out + "\""), 0u);
  EXPECT_EQ(testsupport::readFileOr(out, "<none>"), "D:|D:\\");
  DeleteFileA("D:\\probe.exe");

  EXPECT_EQ(testsupport::runProcess("\"" + probePath() + "\" rundir \"" + out + "\""), 0u);
  EXPECT_EQ(testsupport::readFileOr(out, "<none>"), runDirectory() + "|" + runDirectory());
}

// Libraries bound by name come from the system folder only: a file of the name beside the
// program (here a copy of the probe) is never taken.
TEST(Frame, SystemLibrariesComeFromTheSystemFolder) {
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  const std::string beside = runDirectory() + "\\qx_beside.dll";
  ASSERT_TRUE(CopyFileA(probePath().c_str(), beside.c_str(), FALSE));
  struct Row {
    const char* library;
    bool found;
  } rows[] = {{"kernel32.dll", true}, {"version.dll", true}, {"qx_beside.dll", false}, {"no_such_library.dll", false}};
  for (const Row& row : rows) {
    const HMODULE module = loadSystemLibrary(row.library);
    EXPECT_EQ(module != nullptr, row.found) << row.library;
    if (module == nullptr) continue;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    EXPECT_EQ(_strnicmp(path, system, std::strlen(system)), 0) << path;
  }
  DeleteFileA(beside.c_str());
}

TEST(Frame, DriveStringsThroughTheFunctionBoundByName) {
  char buffer[255] = {};
  const DWORD count = getLogicalDriveStrings(255, buffer);
  // The test prefix has exactly c: and the d: mapped for this test.
  EXPECT_EQ(std::string(buffer, count), std::string("C:\\\0D:\\\0", 8));
}

LRESULT CALLBACK frameWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (handleDestroyRequest(window, message)) return 0;
  if (message == WM_NCDESTROY) programWindowDestroyed(window);
  return DefWindowProcA(window, message, w, l);
}

HWND createFrameWindow(const char* title) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = frameWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "FrameTestWindow";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA("FrameTestWindow", title, WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  registerProgramWindow(window);
  return window;
}

void pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

TEST(Frame, DestroyWindowActsOnceBackInTheLoopAndReenablesWhatAModalShowDisabled) {
  const int before = programWindowCount();
  HWND owner = createFrameWindow("owner");
  HWND modal = createFrameWindow("modal");
  disableForModal(modal);
  EXPECT_FALSE(IsWindowEnabled(owner));

  destroyWindow(modal);
  EXPECT_TRUE(IsWindow(modal));  // the call returns at once
  EXPECT_TRUE(isClosing(modal));
  pump();
  EXPECT_FALSE(IsWindow(modal));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(programWindowCount(), before + 1);

  // The private message alone, without the closing mark, destroys nothing.
  PostMessageA(owner, kDestroyRequestMessage, 0, 0);
  pump();
  EXPECT_TRUE(IsWindow(owner));
  DestroyWindow(owner);
  EXPECT_EQ(programWindowCount(), before);
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));  // no main loop: no quit
}

}  // namespace
}  // namespace runtime
