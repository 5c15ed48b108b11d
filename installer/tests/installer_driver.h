// Drives the real installer program from outside, as a user would: finds its window and
// controls, types, clicks, reads the status line, answers its message boxes.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace installertest {

constexpr const char* kWindowTitle = "QX一键汉化";

class InstallerProcess {
 public:
  InstallerProcess() = default;
  ~InstallerProcess();
  InstallerProcess(const InstallerProcess&) = delete;
  InstallerProcess& operator=(const InstallerProcess&) = delete;

  // Starts the program and waits for its visible main window.
  bool start(const std::string& exePath);
  HWND window() const { return window_; }
  HWND automaticButton() const { return automaticButton_; }
  HWND typedFolderButton() const { return typedFolderButton_; }
  HWND folderBox() const { return folderBox_; }
  HWND helpLink() const { return helpLink_; }
  std::string status() const;

  void typeFolder(const std::string& folder);
  // Empties the edit box and pastes the folder into it from the clipboard (CF_UNICODETEXT).
  bool pasteFolder(const std::string& folder);
  void click(HWND button);
  // A left-button press and release inside a control, as the mouse would send them.
  void pressMouse(HWND control);
  // The close box: the system's close command.
  void closeByUser();
  // Ends the program at once, as the system may once a session end has been answered.
  void terminate(UINT exitCode);
  // The exit code, or -3 when the program did not end in time.
  DWORD waitForExit(DWORD timeoutMs = 30000);
  bool running() const;

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  HWND automaticButton_ = nullptr;
  HWND typedFolderButton_ = nullptr;
  HWND folderBox_ = nullptr;
  HWND statusLine_ = nullptr;
  HWND helpLink_ = nullptr;
};

// Records every text the status line shows, polling from a thread of its own.
class StatusRecorder {
 public:
  explicit StatusRecorder(const InstallerProcess& installer);
  ~StatusRecorder();
  std::vector<std::string> stop();

 private:
  const InstallerProcess& installer_;
  std::atomic<bool> running_{true};
  std::mutex mutex_;
  std::vector<std::string> texts_;
  std::thread thread_;
};

// Waits for the next message box (of any title), checks nothing itself; returns false when
// none appeared in time.
struct Box {
  HWND window = nullptr;
  std::string title;
  std::string text;
};
bool nextBox(Box& box, DWORD timeoutMs = 20000);
void press(const Box& box, int buttonId);
// Waits until no message box is shown any more.
void waitBoxGone(const Box& box);

// How long a start through the shell may take under Wine before the started program has
// written anything: a wait that concludes "nothing was started" lasts as long.
constexpr DWORD kShellStartWaitMs = 10000;

// A file's bytes, or "<missing>".
std::string bytesOf(const std::string& path);
// The same, waiting up to timeoutMs for the file to appear.
std::string waitForBytes(const std::string& path, DWORD timeoutMs);
// CopyFileW, replacing what is at `to`.
bool copyFile(const std::string& from, const std::string& to);
// Copies the stand-in game into folder as Unturned.exe.
bool placeGame(const std::string& folder);
// The folder of this test program.
std::string testFolder();

}  // namespace installertest
