// The one-click benchmark's driver, one long-lived process inside the Wine session: starts
// the real program, clicks as a person would and times it from outside, then measures two
// floors over the same data. Started by bench/oneclick/run.sh:
//   oneclick_bench ROUNDS [CURRENT_NAME BASELINE_NAME]
// Beside it: current\QXInstaller.exe and baseline\QXInstaller.exe, and from prepare.py
// game.txt and bundles.replay. Before every run it asks the host to empty the game folder and
// to write everything back to disk (sync.request, removed by the host when done).
//
// On one drive (prepare.py's layout of a number of folders) each round takes the two programs
// in the order ABBA, and for each: the one-click way (click "一键汉化") to its first box, the
// bare listing walk of every drive, the quick way (the game folder typed, click "快速汉化") to
// its first box, the replay of Bundles.zip.
//
// On the machine-shaped layout (machine.txt beside the driver) each round takes three cases,
// each ABBA: the game half way through the games drive, half way through the system drive,
// and nowhere. Before each case the driver places the game by renaming its executable. Only
// the one-click way is timed there: to the first box (the completion box, or the box that
// says no game was found), and the walk inside it.
//
// The program is driven by its controls alone, its texts are never read: it is found as the
// process's visible top-level window that is no message box, and its boxes are answered by
// their buttons' ids.
//
// Inside a run, the files of the game folder tell the phases apart: the first archive (or
// its folder) appears when the walk is over; the Bundles folder appears when its unpack
// begins and Bundles.zip is gone when the unpack and the deletes are over. The walk inside
// the program is the time to the first archive less the program's fixed 2-second wait. The
// game folder is watched with a change notification, not polled: polling it every
// millisecond made the program's walk look almost twice as long. Only the box, which comes
// while the program waits its 500 ms, is looked for every 5 ms.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <initializer_list>
#include <string>
#include <vector>

#include "bench/common/outside_driver.h"
#include "installer/tests/installer_driver.h"
#include "runtime/tests/test_support.h"

namespace {

using namespace benchdriver;

std::string classOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// The program, started and found without reading its texts: its main window is its visible
// top-level window that is no message box; the two buttons are its Button children, "一键汉化"
// first, as the layout creates them (a button whose text reads as one of the two names
// decides for itself); the edit box is its Edit child.
class Program {
 public:
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() {
    if (process_.hProcess == nullptr) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }

  bool start(const std::string& exe) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = "\"" + exe + "\"";
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_)) {
      return false;
    }
    const DWORD begin = GetTickCount();
    while (GetTickCount() - begin < 20000) {
      if (find()) return true;
      Sleep(50);
    }
    return false;
  }
  DWORD processId() const { return process_.dwProcessId; }
  HWND automaticButton() const { return buttons_[0]; }
  HWND typedFolderButton() const { return buttons_[1]; }
  // The bench's folders are ASCII: the same bytes in every code page.
  void typeFolder(const std::string& folder) {
    SendMessageA(folderBox_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
  }
  void click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }
  void close() { PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0); }
  DWORD waitForExit(DWORD timeoutMs = 30000) {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return static_cast<DWORD>(-3);
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  bool find() {
    std::vector<HWND> windows;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner != process_.dwProcessId || !IsWindowVisible(window) || classOf(window) == "#32770") continue;
      std::vector<HWND> children, buttons;
      EnumChildWindows(window, collectWindow, reinterpret_cast<LPARAM>(&children));
      HWND edit = nullptr;
      for (HWND child : children) {
        const std::string kind = classOf(child);
        if (lstrcmpiA(kind.c_str(), "Button") == 0) buttons.push_back(child);
        if (lstrcmpiA(kind.c_str(), "Edit") == 0) edit = child;
      }
      if (buttons.size() != 2 || edit == nullptr) continue;
      wchar_t text[32] = {};
      GetWindowTextW(buttons[0], text, 32);
      const bool swapped = lstrcmpW(text, L"快速汉化") == 0;
      window_ = window;
      buttons_[0] = buttons[swapped ? 1 : 0];
      buttons_[1] = buttons[swapped ? 0 : 1];
      folderBox_ = edit;
      return true;
    }
    return false;
  }

  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  HWND buttons_[2] = {};
  HWND folderBox_ = nullptr;
};

// Presses the buttons of the boxes that come one after the other, by id.
void answerBoxes(HWND box, std::initializer_list<int> buttons, const std::string& program) {
  installertest::Box answered{box, "", ""};
  bool first = true;
  for (int button : buttons) {
    if (!first && !installertest::nextBox(answered)) fail("a box missing from " + program);
    first = false;
    Sleep(50);  // a box takes its buttons once it shows
    installertest::press(answered, button);
  }
}

constexpr double kAnnounceWaitMs = 2000;  // the program's wait between the click and the walk
constexpr double kCompletionWaitMs = 500;  // its wait between "汉化完成！" and the first box

// Polls every everyMs; the time at which ready() first held, or -1 after the limit.
template <class Ready>
double when(Ready ready, double limitMs, DWORD everyMs) {
  const double start = nowMs();
  for (;;) {
    if (ready()) return nowMs();
    if (nowMs() - start > limitMs) return -1;
    Sleep(everyMs);
  }
}

// Wakes at every change of a name directly in a folder, so that its files are looked at only
// when something happened there: no polling load on the system while the program works.
class FolderWatch {
 public:
  explicit FolderWatch(const std::string& folder)
      : handle_(FindFirstChangeNotificationA(folder.c_str(), FALSE,
                                             FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME)) {}
  ~FolderWatch() {
    if (handle_ != INVALID_HANDLE_VALUE) FindCloseChangeNotification(handle_);
  }
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;
  bool watching() const { return handle_ != INVALID_HANDLE_VALUE; }

  // The time at which ready() first held, or -1 after the limit. Checked after every change
  // (the watch is armed again before the check, so no change is missed) and every 50 ms.
  template <class Ready>
  double when(Ready ready, double limitMs = 300000) {
    const double start = nowMs();
    for (;;) {
      if (ready()) return nowMs();
      if (nowMs() - start > limitMs) return -1;
      if (WaitForSingleObject(handle_, 50) == WAIT_OBJECT_0) FindNextChangeNotification(handle_);
    }
  }

 private:
  HANDLE handle_;
};

struct Phases {
  double toBox = 0;     // click to the first box
  double toWrite = 0;   // click to the first archive
  double install = 0;   // first archive to Bundles.zip gone: writes, unpacks, deletes
  double bundles = 0;   // Bundles folder made to Bundles.zip gone
};

// Starts the program, clicks the button (after typing the game folder for the quick way),
// times the phases, answers the three boxes (OK, No, OK) and waits for the program's end.
Phases runInstaller(const std::string& exe, const std::string& game, bool oneClick) {
  Program installer;
  if (!installer.start(exe)) fail("cannot start " + exe);
  if (!oneClick) installer.typeFolder(game);
  const std::string firstArchive = game + "\\Translations.zip", firstFolder = game + "\\Translations";
  const std::string bundlesFolder = game + "\\Bundles", bundlesArchive = game + "\\Bundles.zip";

  FolderWatch watch(game);
  if (!watch.watching()) fail("cannot watch " + game);
  const double click = nowMs();
  installer.click(oneClick ? installer.automaticButton() : installer.typedFolderButton());
  const double written = watch.when([&] { return exists(firstArchive) || exists(firstFolder); });
  const double unpacking = watch.when([&] { return exists(bundlesFolder); });
  const double unpacked = watch.when([&] { return !exists(bundlesArchive); });
  // The box comes at the earliest 500 ms after the files: windows are looked for only now.
  HWND box = nullptr;
  const double boxed = when([&] { return (box = boxOf(installer.processId())) != nullptr; }, 60000, 5);
  if (written < 0 || unpacking < 0 || unpacked < 0 || boxed < 0) fail("no installation by " + exe);
  answerBoxes(box, {IDOK, IDNO, IDOK}, exe);
  if (installer.waitForExit() != 0) fail(exe + " did not end with 0");
  return Phases{boxed - click, written - click, unpacked - written, unpacked - unpacking};
}

// One-click where there is no game: click to the box that says so, which comes as soon as the
// walk is over. The box is answered and the window closed.
double runWithoutGame(const std::string& exe) {
  Program installer;
  if (!installer.start(exe)) fail("cannot start " + exe);
  const double click = nowMs();
  installer.click(installer.automaticButton());
  HWND box = nullptr;
  const double boxed = when([&] { return (box = boxOf(installer.processId())) != nullptr; }, 600000, 5);
  if (boxed < 0) fail("no box from " + exe);
  answerBoxes(box, {IDOK}, exe);
  installer.close();
  if (installer.waitForExit() != 0) fail(exe + " did not end with 0");
  return boxed - click;
}

// The floor of the walk: every folder of every drive listed once, as the program lists it,
// with no window to service.
void listOnce(const std::wstring& folder, int& folders) {
  ++folders;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<std::wstring> subfolders;
  do {
    const DWORD attributes = entry.dwFileAttributes;
    const bool dots = std::wcscmp(entry.cFileName, L".") == 0 || std::wcscmp(entry.cFileName, L"..") == 0;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !dots) {
      subfolders.push_back(entry.cFileName);
    }
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  for (const std::wstring& name : subfolders) listOnce(folder + name + L"\\", folders);
}

double bareWalk(int& folders) {
  wchar_t drives[256] = {};
  GetLogicalDriveStringsW(255, drives);
  folders = 0;
  const double start = nowMs();
  for (const wchar_t* root = drives; *root != L'\0'; root += std::wcslen(root) + 1) listOnce(root, folders);
  return nowMs() - start;
}

// The floor of the unpack: Bundles.zip's folders and files written with the fewest calls.
struct ReplayEntry {
  bool folder;
  std::string name;
  FILETIME time;
  std::string data;
};

std::vector<ReplayEntry> loadReplay(const std::string& path) {
  std::string bytes;
  if (!testsupport::readFile(path, bytes)) fail("cannot read " + path);
  std::vector<ReplayEntry> entries;
  size_t at = 0;
  auto take = [&](void* out, size_t size) {
    if (at + size > bytes.size()) fail("cut short: " + path);
    std::memcpy(out, bytes.data() + at, size);
    at += size;
  };
  while (at < bytes.size()) {
    ReplayEntry entry{};
    uint8_t kind = 0;
    uint16_t length = 0;
    take(&kind, 1);
    take(&length, 2);
    entry.folder = kind == 0;
    entry.name.resize(length);
    take(&entry.name[0], length);
    if (!entry.folder) {
      uint64_t time = 0;
      uint32_t size = 0;
      take(&time, 8);
      take(&size, 4);
      entry.time.dwLowDateTime = static_cast<DWORD>(time);
      entry.time.dwHighDateTime = static_cast<DWORD>(time >> 32);
      entry.data.resize(size);
      if (size > 0) take(&entry.data[0], size);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

double replay(const std::vector<ReplayEntry>& entries, const std::string& target) {
  const double start = nowMs();
  CreateDirectoryA(target.c_str(), nullptr);
  for (const ReplayEntry& entry : entries) {
    const std::string path = target + "\\" + entry.name;
    if (entry.folder) {
      CreateDirectoryA(path.c_str(), nullptr);
      continue;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) fail("cannot write " + path);
    DWORD written = 0;
    if (!entry.data.empty()) WriteFile(file, entry.data.data(), static_cast<DWORD>(entry.data.size()), &written, nullptr);
    SetFileTime(file, nullptr, nullptr, &entry.time);
    CloseHandle(file);
  }
  return nowMs() - start;
}

std::string figure(const std::vector<double>& values) {
  const Spread s = spreadOf(values);
  char text[96];
  std::snprintf(text, sizeof text, "%7.0f ms (%.0f to %.0f)", s.median, s.low, s.high);
  return text;
}

double median(const std::vector<double>& values) { return spreadOf(values).median; }

struct Series {
  std::vector<double> toBox, walk, install, bundles;
  void add(const Phases& p, bool oneClick) {
    toBox.push_back(p.toBox);
    walk.push_back(oneClick ? p.toWrite - kAnnounceWaitMs : p.toWrite);
    install.push_back(p.install);
    bundles.push_back(p.bundles);
  }
};

void printPhases(const char* way, const char* which, const Phases& p, bool oneClick) {
  std::printf("  %-9s %-8s to the first box %6.0f ms   walk %6.0f   writes, unpacks, deletes %5.0f   Bundles %5.0f\n",
              way, which, p.toBox, oneClick ? p.toWrite - kAnnounceWaitMs : p.toWrite, p.install, p.bundles);
  std::fflush(stdout);
}

// The one-drive layout: the game near the end of the walk (where the walk from the far end
// meets it at once), the quick way, and the floors of the walk and the unpack.
int oneDrive(const Setup& setup) {
  const int rounds = setup.count;
  const std::string& game = setup.game;
  const std::vector<ReplayEntry> bundles = loadReplay(installertest::testFolder() + "\\bundles.replay");

  std::printf("one-click benchmark: game at %s, %d rounds, programs alternated ABBA\n", game.c_str(), rounds);
  std::printf("  current:  %s\n  baseline: %s\n", setup.currentName.c_str(), setup.baselineName.c_str());
  Series oneClick[2], quick[2];
  std::vector<double> walks, replays;
  int folders = 0;
  for (int round = 1; round <= rounds; ++round) {
    std::printf("round %d\n", round);
    // Each floor is measured beside the runs of the programs, so that a drift of the
    // machine's load moves both sides of a ratio alike.
    for (int which : kAbba) {
      emptyGameFolderAndSync();
      const Phases p = runInstaller(setup.programs[which], game, true);
      oneClick[which].add(p, true);
      printPhases("one-click", kNames[which], p, true);

      emptyGameFolderAndSync();
      walks.push_back(bareWalk(folders));
      std::printf("  bare listing walk of every drive, %d folders: %6.0f ms\n", folders, walks.back());

      emptyGameFolderAndSync();
      const Phases q = runInstaller(setup.programs[which], game, false);
      quick[which].add(q, false);
      printPhases("quick", kNames[which], q, false);

      emptyGameFolderAndSync();
      replays.push_back(replay(bundles, game + "\\Bundles"));
      std::printf("  replay of Bundles.zip, %zu folders and files: %6.0f ms\n", bundles.size(), replays.back());
      std::fflush(stdout);
    }
  }
  emptyGameFolderAndSync();

  const Series& c = oneClick[0];
  const Series& b = oneClick[1];
  std::printf("\nmedians (least to greatest) over %d runs of each program, %d of each floor\n", 2 * rounds,
              4 * rounds);
  std::printf("  one-click, click to first box:  current %s   baseline %s\n", figure(c.toBox).c_str(),
              figure(b.toBox).c_str());
  std::printf("  quick way, click to first box:  current %s   baseline %s\n", figure(quick[0].toBox).c_str(),
              figure(quick[1].toBox).c_str());
  std::printf("  walk inside the program:        current %s   baseline %s\n", figure(c.walk).c_str(),
              figure(b.walk).c_str());
  std::printf("  bare listing walk (floor):      %s\n", figure(walks).c_str());
  std::printf("  Bundles.zip unpack, one-click:  current %s   baseline %s\n", figure(c.bundles).c_str(),
              figure(b.bundles).c_str());
  std::printf("  Bundles.zip unpack, quick way:  current %s   baseline %s\n", figure(quick[0].bundles).c_str(),
              figure(quick[1].bundles).c_str());
  std::printf("  replay of Bundles.zip (floor):  %s\n", figure(replays).c_str());

  const double floor = kAnnounceWaitMs + kCompletionWaitMs + median(walks) + median(replays);
  std::printf("\nratios of medians\n");
  std::printf("  walk inside the program / bare walk:     current %.2f   baseline %.2f   (goal <= 1.15)\n",
              median(c.walk) / median(walks), median(b.walk) / median(walks));
  std::printf("  Bundles.zip unpack / replay:             current %.2f   baseline %.2f   (goal <= 1.3)\n",
              median(c.bundles) / median(replays), median(b.bundles) / median(replays));
  std::printf("  one-click, current / baseline:           %.2f   (goal against today's program <= 1.05)\n",
              median(c.toBox) / median(b.toBox));
  std::printf("  quick way, current / baseline:           %.2f   (goal against today's program <= 1.05)\n",
              median(quick[0].toBox) / median(quick[1].toBox));
  std::printf("  floor of one-click (2.5 s of waits, bare walk, replay): %.0f ms = %.2f of the baseline\n", floor,
              floor / median(b.toBox));
  return 0;
}

// One case of the machine-shaped layout: where the game is, as the program sees it (empty for
// nowhere) and on the host.
struct MachineCase {
  const char* label;
  std::string game, host;
  double goalToBox, goalWalk;  // 0: none
  Series runs[2];
  std::vector<double> ratios;  // current / baseline to the first box, round by round
};

// Renames each case's executable so that only this case's game is there.
void placeGame(const MachineCase& wanted, const std::vector<MachineCase>& cases) {
  for (const MachineCase& c : cases) {
    if (c.game.empty()) continue;
    const std::string shown = c.game + "\\Unturned.exe", hidden = c.game + "\\Unturned.ex_";
    const bool here = &c == &wanted;
    if (here && exists(hidden) && !MoveFileA(hidden.c_str(), shown.c_str())) fail("cannot place " + shown);
    if (!here && exists(shown) && !MoveFileA(shown.c_str(), hidden.c_str())) fail("cannot hide " + shown);
  }
  if (!testsupport::writeBytes(installertest::testFolder() + "\\game.host", wanted.host)) fail("cannot write game.host");
}

std::vector<MachineCase> loadMachineCases() {
  const std::string text = readText(installertest::testFolder() + "\\machine.txt") + "\n";
  std::vector<MachineCase> cases = {
      {"game half way through the games drive", "", "", 0.3, 0.15, {}, {}},
      {"game half way through the system drive", "", "", 0.75, 0, {}, {}},
      {"no game anywhere", "", "", 1.02, 0, {}, {}},
  };
  size_t at = 0;
  for (MachineCase& c : cases) {
    const size_t bar = text.find('|', at), end = text.find('\n', at);
    if (bar == std::string::npos || end == std::string::npos || bar > end) fail("machine.txt: three lines game|host");
    c.game = text.substr(at, bar - at);
    c.host = text.substr(bar + 1, end - bar - 1);
    while (!c.host.empty() && c.host.back() == '\r') c.host.pop_back();
    at = end + 1;
  }
  return cases;
}

// The machine-shaped layout: a system drive and a games drive after it, one-click only.
int machine(const Setup& setup) {
  const int rounds = setup.count;
  std::vector<MachineCase> cases = loadMachineCases();
  std::printf("one-click benchmark, machine-shaped: a system drive (C:) and a games drive (S:) after it, "
              "%d rounds, programs alternated ABBA in each case\n", rounds);
  std::printf("  current:  %s\n  baseline: %s\n", setup.currentName.c_str(), setup.baselineName.c_str());
  std::vector<double> walks;
  int folders = 0;
  for (int round = 1; round <= rounds; ++round) {
    std::printf("round %d\n", round);
    for (MachineCase& c : cases) {
      placeGame(c, cases);
      std::printf(" %s\n", c.label);
      double sums[2] = {};
      for (int which : kAbba) {
        emptyGameFolderAndSync();
        Phases p;
        if (c.game.empty()) {
          p.toBox = runWithoutGame(setup.programs[which]);
          p.toWrite = p.toBox;  // the box comes when the walk is over
        } else {
          p = runInstaller(setup.programs[which], c.game, true);
        }
        c.runs[which].add(p, true);
        sums[which] += p.toBox;
        std::printf("  %-8s to the first box %6.0f ms   walk %6.0f\n", kNames[which], p.toBox,
                    p.toWrite - kAnnounceWaitMs);
        std::fflush(stdout);
      }
      c.ratios.push_back(sums[0] / sums[1]);
    }
    emptyGameFolderAndSync();
    walks.push_back(bareWalk(folders));
    std::printf("  bare listing walk of every drive, %d folders: %6.0f ms\n", folders, walks.back());
    std::fflush(stdout);
  }
  placeGame(cases[2], cases);
  emptyGameFolderAndSync();

  std::printf("\nmedians (least to greatest) over %d runs of each program in each case\n", 2 * rounds);
  for (const MachineCase& c : cases) {
    const Spread r = spreadOf(c.ratios);
    std::printf(" %s\n", c.label);
    std::printf("  click to first box:  current %s   baseline %s\n", figure(c.runs[0].toBox).c_str(),
                figure(c.runs[1].toBox).c_str());
    std::printf("  walk:                current %s   baseline %s\n", figure(c.runs[0].walk).c_str(),
                figure(c.runs[1].walk).c_str());
    std::printf("  current / baseline, to the first box: %.2f (rounds %.2f to %.2f)   (goal <= %.2f)\n",
                median(c.runs[0].toBox) / median(c.runs[1].toBox), r.low, r.high, c.goalToBox);
    if (c.goalWalk > 0) {
      std::printf("  current / baseline, walk:             %.2f   (goal <= %.2f)\n",
                  median(c.runs[0].walk) / median(c.runs[1].walk), c.goalWalk);
    }
  }
  const MachineCase& none = cases[2];
  std::printf(" bare listing walk of every drive (floor): %s\n", figure(walks).c_str());
  std::printf("  no game, walk inside the program / bare walk: current %.2f   baseline %.2f\n",
              median(none.runs[0].walk) / median(walks), median(none.runs[1].walk) / median(walks));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const Setup setup = setUp("oneclick_bench", argc, argv, 3);
  return exists(installertest::testFolder() + "\\machine.txt") ? machine(setup) : oneDrive(setup);
}
