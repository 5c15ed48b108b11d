#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <cwchar>
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
      {"C:\\乗\\a.exe", "C:\\乗"},  // UTF-8 E4 B9 97: read as GBK, 97 would take the backslash
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

// The run directory and the current directory of a program started from each folder.
TEST(Frame, RunDirectoryIsTheProgramsFolderAndTheCurrentDirectory) {
  TempFolder dir("frame_rundir");
  const std::string out = dir / "out.txt";
  struct Row {
    const char* folder;  // the probe is copied here; nullptr: run where it lies
    const char* expected;
  } rows[] = {
      {"D:\\", "D:|D:\\"},  // a drive root: the bare drive, its root the current folder
      {"D:\\Jörg\\下载\\", "D:\\Jörg\\下载|D:\\Jörg\\下载"},  // ö: no character of code page 936
      {nullptr, nullptr},
  };
  for (const Row& row : rows) {
    const std::string folder = row.folder ? row.folder : "";
    const std::string program = row.folder ? folder + "probe.exe" : probePath();
    const std::string expected = row.expected ? row.expected : runDirectory() + "|" + runDirectory();
    if (row.folder) {
      SHCreateDirectoryExW(nullptr, toWide(folder).c_str(), nullptr);
      ASSERT_TRUE(CopyFileW(toWide(probePath()).c_str(), toWide(program).c_str(), FALSE)) << program;
    }
    EXPECT_EQ(testsupport::runProcess("\"" + program + "\" rundir \"" + out + "\""), 0u) << program;
    EXPECT_EQ(testsupport::readFileOr(out, "<none>"), expected);
    if (row.folder) DeleteFileW(toWide(program).c_str());
  }
}

// Libraries bound by name come from the system folder only: a file of the name beside the
// program (here a copy of the probe) is never taken.
TEST(Frame, SystemLibrariesComeFromTheSystemFolder) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring beside = toWide(runDirectory() + "\\qx_beside.dll");
  ASSERT_TRUE(CopyFileW(toWide(probePath()).c_str(), beside.c_str(), FALSE));
  struct Row {
    const wchar_t* library;
    bool found;
  } rows[] = {{L"kernel32.dll", true}, {L"version.dll", true}, {L"qx_beside.dll", false}, {L"no_such_library.dll", false}};
  for (const Row& row : rows) {
    const HMODULE module = loadSystemLibrary(row.library);
    EXPECT_EQ(module != nullptr, row.found) << toUtf8(row.library);
    if (module == nullptr) continue;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    EXPECT_EQ(_wcsnicmp(path, system, std::wcslen(system)), 0) << toUtf8(path);
  }
  DeleteFileW(beside.c_str());
}

TEST(Frame, DriveStringsThroughTheFunctionBoundByName) {
  wchar_t buffer[255] = {};
  const DWORD count = getLogicalDriveStrings(255, buffer);
  // The test prefix has exactly c: and the d: mapped for this test.
  EXPECT_EQ(std::wstring(buffer, count), std::wstring(L"C:\\\0D:\\\0", 8));
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
