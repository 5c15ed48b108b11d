// Prints the median time of each step of the window's own work, in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "runtime/events.h"
#include "ui/picture.h"
#include "ui/properties.h"
#include "ui/resource_ids.h"

namespace {

double now() {
  static LARGE_INTEGER frequency{};
  if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

template <class Step>
void measure(const char* name, int runs, Step step) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double start = now();
    step(i);
    times.push_back(now() - start);
  }
  std::sort(times.begin(), times.end());
  std::printf("%-44s median %8.3f ms   min %8.3f ms   max %8.3f ms   (%d runs)\n", name, times[times.size() / 2],
              times.front(), times.back(), runs);
}

}  // namespace

int main() {
  const ui::ResourceBytes jpeg = ui::loadResourceData(UI_PICTURE_BACKGROUND);
  measure("decode the 640x640 background JPEG", 30, [&](int) { ui::Picture::decodeJpeg(jpeg.data, jpeg.size); });
  measure("open the window (built, shown, painted)", 5, [&](int) {
    ui::openWindow(ui::kMainWindowLayout, {});  // no procedure runs: only the window's own work counts
    UpdateWindow(ui::mainWindow());
    GdiFlush();
  });
  runtime::delay(200);
  ui::setProperty("时钟1", ui::kTimerInterval, 0);  // no banner ticks in between
  const char* const captions[] = {"汉化中：请稍后.", "汉化中：请稍后..", "汉化中：请稍后..."};
  measure("status caption change (repainted at once)", 200, [&](int i) {
    ui::setProperty("透明标签1", ui::kTransLabelCaption, runtime::Text(captions[i % 3]));
    GdiFlush();
  });
  measure("banner step of 5 pixels (moved and painted)", 200, [&](int) {
    ui::setProperty("标签1", ui::kLeft, ui::getNumber("标签1", ui::kLeft) - 5);
    UpdateWindow(ui::mainWindow());
    GdiFlush();
  });
  measure("whole client area erased and repainted", 50, [&](int) {
    RedrawWindow(ui::mainWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
  });
  DestroyWindow(ui::mainWindow());
  return 0;
}
