// Times the walk for the game's executable over a synthetic drive, alternating, several runs
// each:
// - every folder walked (a name that is nowhere): the program's walk, which lists each folder
//   once, against the walk that lists every folder twice (goal: ratio <= 0.55);
// - the game near the end of the forward walk: the program's walk from the far end, which
//   stops at its first match, against the two-listing walk forward, which walks everything;
//   both must end on the same match.
//   search_bench ROOT RUNS
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/search/two_listing_search.h"
#include "installer/game_search.h"
#include "installer/globals.h"

namespace {

double nowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

template <class Walk>
double timeWalk(Walk walk, const char* root, const char* name, runtime::Text& found) {
  installer::gameExePath.clear();
  const double start = nowMs();
  walk(root, name);
  const double elapsed = nowMs() - start;
  found = installer::gameExePath;
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  const char* root = argc > 1 ? argv[1] : "S:\\";
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  const char* const kNowhere = "Nowhere.exe";
  std::vector<double> one, two, oneAll, twoAll;
  runtime::Text foundOne, foundTwo, none;
  for (int i = 0; i < runs; ++i) {
    oneAll.push_back(timeWalk(installer::searchFolder, root, kNowhere, none));
    twoAll.push_back(timeWalk(searchbench::searchFolderTwoListings, root, kNowhere, none));
    one.push_back(timeWalk(installer::searchFolder, root, installer::kGameExeName, foundOne));
    two.push_back(timeWalk(searchbench::searchFolderTwoListings, root, installer::kGameExeName, foundTwo));
  }
  std::printf("walk of %s, %d runs each\n", root, runs);
  std::printf(" every folder (a name that is nowhere)\n");
  std::printf("  one listing per folder:  median %8.1f ms\n", median(oneAll));
  std::printf("  two listings per folder: median %8.1f ms\n", median(twoAll));
  std::printf("  ratio one/two: %.2f (goal <= 0.55)\n", median(oneAll) / median(twoAll));
  std::printf(" the game near the end of the forward walk\n");
  std::printf("  one listing, from the far end:  median %8.1f ms  found %s\n", median(one), foundOne.c_str());
  std::printf("  two listings, forward:          median %8.1f ms  found %s\n", median(two), foundTwo.c_str());
  std::printf("  ratio: %.2f%s\n", median(one) / median(two), foundOne == foundTwo ? "" : "  RESULTS DIFFER");
  return foundOne == foundTwo ? 0 : 1;
}
