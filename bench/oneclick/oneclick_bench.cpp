// The one-click benchmark's driver, one long-lived process inside the Wine session: starts
// the real program, clicks as a person would and times it from outside, then measures two
// floors over the same data. Started by bench/oneclick/run.sh:
//   oneclick_bench ROUNDS [CURRENT_NAME BASELINE_NAME]
// Beside it: current\QXInstaller.exe and baseline\QXInstaller.exe, and from prepare.py
// game.txt and bundles.replay. Before every run it asks the host to empty the game folder and
// to write everything back to disk (sync.request, removed by the host when done).
//
// Each round takes the two programs in the order ABBA, and for each: the one-click way (click
// "一键汉化") to its first box, the bare listing walk of every drive, the quick way (the game
// folder typed, click "快速汉化") to its first box, the replay of Bundles.zip.
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
#include <string>
#include <vector>

#include "bench/common/outside_driver.h"
#include "installer/tests/installer_driver.h"
#include "runtime/tests/test_support.h"

namespace {

using installertest::InstallerProcess;
using namespace benchdriver;

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
  InstallerProcess installer;
  if (!installer.start(exe)) fail("cannot start " + exe);
  if (!oneClick) installer.typeFolder(game);
  DWORD processId = 0;
  GetWindowThreadProcessId(installer.window(), &processId);
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
  const double boxed = when([&] { return (box = boxOf(processId)) != nullptr; }, 60000, 5);
  if (written < 0 || unpacking < 0 || unpacked < 0 || boxed < 0) fail("no installation by " + exe);
  answerCompletion(box, exe);
  if (installer.waitForExit() != 0) fail(exe + " did not end with 0");
  return Phases{boxed - click, written - click, unpacked - written, unpacked - unpacking};
}

// The floor of the walk: every folder of every drive listed once, as the program lists it,
// with no window to service.
void listOnce(const std::string& folder, int& folders) {
  ++folders;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileExA((folder + "*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> subfolders;
  do {
    const DWORD attributes = entry.dwFileAttributes;
    const bool dots = std::strcmp(entry.cFileName, ".") == 0 || std::strcmp(entry.cFileName, "..") == 0;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !dots) {
      subfolders.push_back(entry.cFileName);
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  for (const std::string& name : subfolders) listOnce(folder + name + "\\", folders);
}

double bareWalk(int& folders) {
  char drives[256] = {};
  GetLogicalDriveStringsA(sizeof drives - 1, drives);
  folders = 0;
  const double start = nowMs();
  for (const char* root = drives; *root != '\0'; root += std::strlen(root) + 1) listOnce(root, folders);
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

}  // namespace

int main(int argc, char** argv) {
  const Setup setup = setUp("oneclick_bench", argc, argv, 3);
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
  std::printf("  one-click, current / baseline:           %.2f   (goal <= 0.6)\n", median(c.toBox) / median(b.toBox));
  std::printf("  quick way, current / baseline:           %.2f\n", median(quick[0].toBox) / median(quick[1].toBox));
  std::printf("  floor of one-click (2.5 s of waits, bare walk, replay): %.0f ms = %.2f of the baseline\n", floor,
              floor / median(b.toBox));
  return 0;
}
