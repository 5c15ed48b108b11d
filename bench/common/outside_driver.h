// What the benchmarks that drive the real program from outside share: a clock, failing with a
// line on stderr, the host's emptying of the game folder between runs, the program's message
// boxes, and medians with their spread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace benchdriver {

// Milliseconds of the performance counter.
double nowMs();

// The name the failure lines start with (the benchmark's own).
void setProgramName(const char* name);
[[noreturn]] void fail(const std::string& what);

bool exists(const std::string& path);
// A file's text without its line ends; fails when it cannot be read.
std::string readText(const std::string& path);

// Asks the host to empty the game folder and write everything back to disk (sync.request
// beside the driver, removed by the host when done), then waits a second more: the disk may
// still be busy with what the sync wrote.
void emptyGameFolderAndSync();

// A visible message box of the process, or nullptr.
HWND boxOf(DWORD processId);
std::string textOf(HWND window);
// Checks that box is the completion box, then answers the three boxes of a finished run:
// OK, No (the game is not started), OK.
void answerCompletion(HWND box, const std::string& program);

// What every such driver starts from: its arguments COUNT [CURRENT_NAME BASELINE_NAME] and
// the files beside it, current\ and baseline\QXInstaller.exe and prepare.py's game.txt.
// Runs take the two programs in the order ABBA (kAbba, indexes into programs and kNames).
struct Setup {
  int count;
  std::string currentName, baselineName;  // as the host names the two programs
  std::string programs[2];                // current, baseline
  std::string game;                       // the game folder
};
Setup setUp(const char* programName, int argc, char** argv, int defaultCount);
constexpr const char* kNames[2] = {"current", "baseline"};
constexpr int kAbba[4] = {0, 1, 1, 0};

// Median, least and greatest of a series.
struct Spread {
  double median, low, high;
};
Spread spreadOf(std::vector<double> values);

}  // namespace benchdriver
