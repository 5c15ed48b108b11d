// Helpers for tests that run under Wine: temporary folders, file bytes, child processes and
// a thread that answers message boxes. Paths, command lines and texts are UTF-8, as in the
// program; the helpers reach the system through its W functions.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// A fresh folder below the current folder, removed with its contents when the object goes.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

void removeTree(const std::string& path);
bool readFile(const std::string& path, std::string& bytes);
std::string readFileOr(const std::string& path, const std::string& fallback);
bool writeBytes(const std::string& path, const std::string& bytes);
bool isFolder(const std::string& path);
// The names in a folder, "." and ".." left out, sorted.
std::vector<std::string> listFolder(const std::string& folder);

// Starts a program and waits for it; returns its exit code, or -2 when it could not start
// and -3 when it did not end within the time limit (it is then killed).
DWORD runProcess(const std::string& commandLine, DWORD timeoutMs = 60000);

// A program started without waiting for it; killed if it still runs when the object goes.
class ChildProcess {
 public:
  explicit ChildProcess(const std::string& commandLine);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  bool started() const { return process_.hProcess != nullptr; }
  // Its exit code, -2 when it did not start, -3 when it did not end within timeoutMs (it is
  // then killed).
  DWORD finish(DWORD timeoutMs);

 private:
  PROCESS_INFORMATION process_{};
};

// A message box found on screen: its title and its text as the user sees them (UTF-8).
struct FoundBox {
  HWND window = nullptr;
  std::string title;
  std::string text;
};

// Waits until a message box (dialog class #32770) of the given title is visible in any
// process; empty title: any box. Returns false when none appeared in time.
bool waitForBox(const std::string& title, FoundBox& box, DWORD timeoutMs = 10000);
// Presses a button of the box (IDOK, IDYES, IDNO, ...) as a click would.
bool pressBoxButton(const FoundBox& box, int buttonId);
// Sends the Escape key to the box.
void escapeBox(const FoundBox& box);

// Answers one box from a thread of its own while the test thread shows it.
class BoxAnswerer {
 public:
  // answer: a button id, or 0 for the Escape key.
  BoxAnswerer(std::string title, int answer);
  ~BoxAnswerer();
  // Joins the thread; true when a box was found and answered.
  bool finish();
  const FoundBox& box() const { return box_; }

 private:
  std::string title_;
  int answer_;
  FoundBox box_;
  bool answered_ = false;
  std::thread thread_;
};

}  // namespace testsupport
