// The liveness benchmark's watcher, one long-lived process inside the Wine session: starts the
// real program, clicks as a person would, and from the click to the program's first box sends
// WM_NULL to its main window every 20 ms (SendMessageTimeout), timing each answer. A window
// answers only while its thread looks at its queue, in any loop: the main loop, a nested
// dispatch, a message box. Started by bench/liveness/run.sh:
//   liveness_bench RUNS [CURRENT_NAME BASELINE_NAME]
// Beside it: current\QXInstaller.exe and baseline\QXInstaller.exe, and from
// bench/oneclick/prepare.py game.txt. Before every run it asks the host to empty the game
// folder and to write everything back to disk (sync.request, removed by the host when done).
//
// Runs take the two programs in the order ABBA, RUNS of each; each run is the one-click way
// and then the quick way. Per run it prints the longest wait and every wait over 100 ms with
// its time after the click.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bench/common/outside_driver.h"
#include "installer/tests/installer_driver.h"
#include "runtime/tests/test_support.h"

namespace {

using installertest::InstallerProcess;
using namespace benchdriver;

constexpr DWORD kPingEveryMs = 20;
constexpr double kLongWaitMs = 100;
constexpr UINT kAnswerLimitMs = 30000;

struct Wait {
  double at;  // when the message was sent, after the click
  double ms;  // how long its answer took
};

struct Liveness {
  double toBox = 0;
  double longest = 0;
  int pings = 0;
  std::vector<Wait> long_;
};

// Pings the window from a thread of its own until stopped; the main thread meanwhile looks
// for the box.
Liveness watch(HWND window, DWORD processId, double click) {
  Liveness result;
  std::atomic<bool> running{true};
  std::thread pinger([&] {
    while (running) {
      const double sent = nowMs();
      DWORD_PTR answer = 0;
      const bool answered =
          SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerLimitMs, &answer) != 0;
      const double took = nowMs() - sent;
      if (!answered && !IsWindow(window)) break;
      ++result.pings;
      result.longest = std::max(result.longest, took);
      if (took > kLongWaitMs) result.long_.push_back(Wait{sent - click, took});
      Sleep(kPingEveryMs);
    }
  });
  HWND box = nullptr;
  while ((box = boxOf(processId)) == nullptr) {
    if (nowMs() - click > 300000) fail("no box within 300 s");
    Sleep(5);
  }
  result.toBox = nowMs() - click;
  running = false;
  pinger.join();
  return result;  // the box is answered by the caller
}

Liveness runInstaller(const std::string& exe, const std::string& game, bool oneClick) {
  InstallerProcess installer;
  if (!installer.start(exe)) fail("cannot start " + exe);
  if (!oneClick) installer.typeFolder(game);
  DWORD processId = 0;
  GetWindowThreadProcessId(installer.window(), &processId);
  const double click = nowMs();
  installer.click(oneClick ? installer.automaticButton() : installer.typedFolderButton());
  const Liveness result = watch(installer.window(), processId, click);
  answerCompletion(boxOf(processId), exe);
  if (installer.waitForExit() != 0) fail(exe + " did not end with 0");
  if (exists(game + "\\Bundles.zip") || !exists(game + "\\Bundles")) fail(exe + " did not install");
  return result;
}

void printRun(const char* way, const char* which, const Liveness& l) {
  std::printf("  %-9s %-8s longest wait %5.0f ms   click to first box %6.0f ms   %d answers\n", way, which,
              l.longest, l.toBox, l.pings);
  for (const Wait& w : l.long_) std::printf("      wait of %5.0f ms, sent %6.0f ms after the click\n", w.ms, w.at);
  std::fflush(stdout);
}

std::string figure(const std::vector<double>& values) {
  const Spread s = spreadOf(values);
  char text[96];
  std::snprintf(text, sizeof text, "median %5.0f ms, %5.0f to %5.0f", s.median, s.low, s.high);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const Setup setup = setUp("liveness_bench", argc, argv, 5);
  const int runs = setup.count;
  const std::string& game = setup.game;

  std::printf("liveness benchmark: game at %s, %d runs of each program, ABBA; WM_NULL every %lu ms\n",
              game.c_str(), runs, static_cast<unsigned long>(kPingEveryMs));
  std::printf("  current:  %s\n  baseline: %s\n", setup.currentName.c_str(), setup.baselineName.c_str());
  std::vector<double> longest[2][2];  // [program][one-click, quick]
  for (int i = 0; i < 2 * runs; ++i) {
    const int which = kAbba[i % 4];
    std::printf("run %d\n", i + 1);
    for (int way = 0; way < 2; ++way) {
      emptyGameFolderAndSync();
      const Liveness l = runInstaller(setup.programs[which], game, way == 0);
      longest[which][way].push_back(l.longest);
      printRun(way == 0 ? "one-click" : "quick", kNames[which], l);
    }
  }
  emptyGameFolderAndSync();

  std::printf("\nlongest wait per run (goal: at most %.0f ms in every run of the current program)\n", kLongWaitMs);
  bool met = true;
  for (int way = 0; way < 2; ++way) {
    std::printf("  %-9s current  %s   baseline %s\n", way == 0 ? "one-click" : "quick",
                figure(longest[0][way]).c_str(), figure(longest[1][way]).c_str());
    met = met && spreadOf(longest[0][way]).high <= kLongWaitMs;
  }
  std::printf("  goal %s\n", met ? "met" : "NOT met");
  return 0;
}
