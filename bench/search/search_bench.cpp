// Times the walk for the game's executable over a synthetic drive: the one-listing walk the
// program uses and the walk that lists every folder twice, alternating, several runs each.
// Prints both medians and their ratio (goal: <= 0.55).
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
double timeWalk(Walk walk, const char* root, runtime::Text& found) {
  installer::gameExePath.clear();
  const double start = nowMs();
  walk(root, installer::kGameExeName);
  const double elapsed = nowMs() - start;
  found = installer::gameExePath;
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  const char* root = argc > 1 ? argv[1] : "S:\\";
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  std::vector<double> one, two;
  runtime::Text foundOne, foundTwo;
  for (int i = 0; i < runs; ++i) {
    one.push_back(timeWalk(installer::searchFolder, root, foundOne));
    two.push_back(timeWalk(searchbench::searchFolderTwoListings, root, foundTwo));
  }
  std::printf("walk of %s, %d runs each\n", root, runs);
  std::printf("  one listing per folder:  median %8.1f ms  found %s\n", median(one), foundOne.c_str());
  std::printf("  two listings per folder: median %8.1f ms  found %s\n", median(two), foundTwo.c_str());
  std::printf("  ratio one/two: %.2f (goal <= 0.55)%s\n", median(one) / median(two),
              foundOne == foundTwo ? "" : "  RESULTS DIFFER");
  return foundOne == foundTwo ? 0 : 1;
}
