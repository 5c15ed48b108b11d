#include "installer/tests/installer_driver.h"

#include <cstring>

#include "runtime/tests/test_support.h"
#include "runtime/text.h"

namespace installertest {
namespace {

// Window texts as the system holds them (UTF-16), in UTF-8: the A functions would convert
// back through the same code page and hide a text the program handed over wrongly.
std::string textOf(HWND window) {
  wchar_t text[4096] = {};
  GetWindowTextW(window, text, 4096);
  return runtime::toUtf8(text);
}

std::string classOf(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  return runtime::toUtf8(name);
}

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK matchMainWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window) && textOf(window) == kWindowTitle) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK collectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

std::vector<HWND> childrenOf(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, collectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

}  // namespace

InstallerProcess::~InstallerProcess() {
  if (process_.hProcess != nullptr) {
    if (running()) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
}

bool InstallerProcess::start(const std::string& exePath) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring line = runtime::toWide("\"" + exePath + "\"");
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_)) {
    return false;
  }
  const DWORD begin = GetTickCount();
  while (window_ == nullptr && GetTickCount() - begin < 20000) {
    WindowSearch search{process_.dwProcessId, nullptr};
    EnumWindows(matchMainWindow, reinterpret_cast<LPARAM>(&search));
    window_ = search.found;
    if (window_ == nullptr) Sleep(50);
  }
  if (window_ == nullptr) return false;
  for (HWND child : childrenOf(window_)) {
    const std::string kind = classOf(child);
    const std::string text = textOf(child);
    if (kind == "Button" && text == "一键汉化") automaticButton_ = child;
    if (kind == "Button" && text == "快速汉化") typedFolderButton_ = child;
    if (kind == "Edit") folderBox_ = child;
    if (text == "初始化完成！可以开始汉化~") statusLine_ = child;
    if (text == "什么是游戏目录？不知道？") helpLink_ = child;
  }
  return automaticButton_ && typedFolderButton_ && folderBox_ && statusLine_ && helpLink_;
}

std::string InstallerProcess::status() const { return textOf(statusLine_); }

void InstallerProcess::typeFolder(const std::string& folder) {
  const std::wstring text = runtime::toWide(folder);
  SendMessageW(folderBox_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool InstallerProcess::pasteFolder(const std::string& folder) {
  const std::wstring text = runtime::toWide(folder);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (memory == nullptr) return false;
  memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  if (!OpenClipboard(nullptr)) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;  // the clipboard owns it now
  CloseClipboard();
  if (!placed) {
    GlobalFree(memory);
    return false;
  }
  SendMessageW(folderBox_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  SendMessageW(folderBox_, WM_PASTE, 0, 0);
  return true;
}

void InstallerProcess::click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void InstallerProcess::pressMouse(HWND control) {
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

void InstallerProcess::closeByUser() { PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0); }

void InstallerProcess::terminate(UINT exitCode) { TerminateProcess(process_.hProcess, exitCode); }

DWORD InstallerProcess::waitForExit(DWORD timeoutMs) {
  if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return static_cast<DWORD>(-3);
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

bool InstallerProcess::running() const {
  return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

StatusRecorder::StatusRecorder(const InstallerProcess& installer) : installer_(installer) {
  thread_ = std::thread([this] {
    while (running_) {
      const std::string text = installer_.status();
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!text.empty() && (texts_.empty() || texts_.back() != text)) texts_.push_back(text);
      }
      Sleep(15);
    }
  });
}

StatusRecorder::~StatusRecorder() { stop(); }

std::vector<std::string> StatusRecorder::stop() {
  running_ = false;
  if (thread_.joinable()) thread_.join();
  std::lock_guard<std::mutex> lock(mutex_);
  return texts_;
}

bool nextBox(Box& box, DWORD timeoutMs) {
  testsupport::FoundBox found;
  if (!testsupport::waitForBox("", found, timeoutMs)) return false;
  // Give the box a moment to get its text before it is read.
  Sleep(50);
  box.window = found.window;
  box.title = textOf(found.window);
  box.text = textOf(GetDlgItem(found.window, 0xFFFF));
  return true;
}

void press(const Box& box, int buttonId) {
  testsupport::FoundBox found{box.window, box.title, box.text};
  testsupport::pressBoxButton(found, buttonId);
  waitBoxGone(box);
}

void waitBoxGone(const Box& box) {
  const DWORD begin = GetTickCount();
  while (IsWindow(box.window) && IsWindowVisible(box.window) && GetTickCount() - begin < 10000) Sleep(20);
}

std::string bytesOf(const std::string& path) { return testsupport::readFileOr(path, "<missing>"); }

std::string waitForBytes(const std::string& path, DWORD timeoutMs) {
  const DWORD begin = GetTickCount();
  std::string bytes = bytesOf(path);
  while (bytes == "<missing>" && GetTickCount() - begin < timeoutMs) {
    Sleep(50);
    bytes = bytesOf(path);
  }
  return bytes;
}

std::string testFolder() {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  while (length > 0 && path[length - 1] != L'\\') --length;
  return runtime::toUtf8(std::wstring_view(path, length > 0 ? length - 1 : 0));
}

bool copyFile(const std::string& from, const std::string& to) {
  return CopyFileW(runtime::toWide(from).c_str(), runtime::toWide(to).c_str(), FALSE) != FALSE;
}

bool placeGame(const std::string& folder) { return copyFile(testFolder() + "\\fake_game.exe", folder + "\\Unturned.exe"); }

}  // namespace installertest
