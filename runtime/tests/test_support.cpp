#include "runtime/tests/test_support.h"

#include <algorithm>
#include <utility>

#include "runtime/text.h"

namespace testsupport {
namespace {

// Paths and texts are UTF-8, as in the program; the system is reached through its W functions.
std::wstring wide(const std::string& text) { return runtime::toWide(text); }

}  // namespace

TempFolder::TempFolder(const std::string& name) {
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  std::string base = runtime::toUtf8(current);
  if (!base.empty() && base.back() == '\\') base.pop_back();
  path_ = base + "\\" + name;
  removeTree(path_);
  CreateDirectoryW(wide(path_).c_str(), nullptr);
}

TempFolder::~TempFolder() { removeTree(path_); }

void removeTree(const std::string& path) {
  const std::wstring at = wide(path);
  const DWORD attributes = GetFileAttributesW(at.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(at.c_str(), FILE_ATTRIBUTE_NORMAL | (attributes & FILE_ATTRIBUTE_DIRECTORY));
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    if (!DeleteFileW(at.c_str())) RemoveDirectoryW(at.c_str());
    return;
  }
  for (const std::string& name : listFolder(path)) removeTree(path + "\\" + name);
  RemoveDirectoryW(at.c_str());
}

bool readFile(const std::string& path, std::string& bytes) {
  HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes.clear();
  char buffer[65536];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return ok;
}

std::string readFileOr(const std::string& path, const std::string& fallback) {
  std::string bytes;
  return readFile(path, bytes) ? bytes : fallback;
}

bool writeBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  return CloseHandle(file) && ok;
}

bool isFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> listFolder(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(wide(folder + "\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = runtime::toUtf8(data.cFileName);
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileW(search, &data));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

ChildProcess::ChildProcess(const std::string& commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring line = wide(commandLine);
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_)) {
    process_ = PROCESS_INFORMATION{};
  }
}

ChildProcess::~ChildProcess() { finish(0); }

DWORD ChildProcess::finish(DWORD timeoutMs) {
  if (!started()) return static_cast<DWORD>(-2);
  DWORD code = static_cast<DWORD>(-3);
  if (WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process_.hProcess, &code);
  } else {
    TerminateProcess(process_.hProcess, 1);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
  process_ = PROCESS_INFORMATION{};
  return code;
}

DWORD runProcess(const std::string& commandLine, DWORD timeoutMs) {
  return ChildProcess(commandLine).finish(timeoutMs);
}

namespace {

// What the user sees: read with the W function (the A one converts back through the same
// code page and would hide a wrong text) and held in UTF-8.
std::string windowText(HWND window) {
  wchar_t text[4096] = {};
  GetWindowTextW(window, text, sizeof text / sizeof text[0]);
  return runtime::toUtf8(text);
}

struct BoxSearch {
  const std::string* title;
  HWND found;
};

BOOL CALLBACK matchBox(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<BoxSearch*>(parameter);
  wchar_t className[64] = {};
  GetClassNameW(window, className, sizeof className / sizeof className[0]);
  if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  if (!search->title->empty() && windowText(window) != *search->title) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

bool waitForBox(const std::string& title, FoundBox& box, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    BoxSearch search{&title, nullptr};
    EnumWindows(matchBox, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      box.window = search.found;
      box.title = windowText(search.found);
      // The text of a message box is its static control with id 0xFFFF.
      box.text = windowText(GetDlgItem(search.found, 0xFFFF));
      return true;
    }
    Sleep(20);
  }
  return false;
}

bool pressBoxButton(const FoundBox& box, int buttonId) {
  HWND button = GetDlgItem(box.window, buttonId);
  if (button == nullptr) return false;
  // BM_CLICK is the documented way to press a button as the user would.
  PostMessageW(button, BM_CLICK, 0, 0);
  return true;
}

void escapeBox(const FoundBox& box) {
  HWND target = GetDlgItem(box.window, IDOK);
  if (target == nullptr) target = box.window;
  PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

BoxAnswerer::BoxAnswerer(std::string title, int answer)
    : title_(std::move(title)), answer_(answer) {
  thread_ = std::thread([this] {
    if (!waitForBox(title_, box_)) return;
    answered_ = answer_ == 0 ? (escapeBox(box_), true) : pressBoxButton(box_, answer_);
  });
}

BoxAnswerer::~BoxAnswerer() {
  if (thread_.joinable()) thread_.join();
}

bool BoxAnswerer::finish() {
  if (thread_.joinable()) thread_.join();
  return answered_;
}

}  // namespace testsupport
