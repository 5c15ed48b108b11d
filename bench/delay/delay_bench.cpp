// Prints the wall time and the processor time that delay(2000) costs, with a 200 ms timer
// ticking in the background as the banner's does. Goal: processor time <= 5 % of the wall time.
// For contrast it also measures a wait that only polls the queue (busy waiting).
#include <windows.h>

#include <cstdio>

#include "runtime/events.h"

namespace {

ULONGLONG processorTime100ns() {
  FILETIME creation, exit, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
  const ULARGE_INTEGER k{{kernel.dwLowDateTime, kernel.dwHighDateTime}};
  const ULARGE_INTEGER u{{user.dwLowDateTime, user.dwHighDateTime}};
  return k.QuadPart + u.QuadPart;
}

double nowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int ticks = 0;
LRESULT CALLBACK tickProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_TIMER) {
    ++ticks;
    return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

void busyWait(int32_t ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (GetTickCount() <= end) runtime::processEvents();
}

template <class Wait>
void measure(const char* label, Wait wait) {
  ticks = 0;
  const double wallStart = nowMs();
  const ULONGLONG cpuStart = processorTime100ns();
  wait(2000);
  const double wall = nowMs() - wallStart;
  const double cpu = static_cast<double>(processorTime100ns() - cpuStart) / 10000.0;
  std::printf("%-12s wall %7.1f ms  cpu %7.1f ms  cpu/wall %5.1f %%  timer ticks %d\n", label, wall, cpu,
              100.0 * cpu / wall, ticks);
}

}  // namespace

int main() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = tickProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"DelayBenchWindow";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(L"DelayBenchWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  SetTimer(window, 1, 200, nullptr);

  std::printf("delay(2000) with a 200 ms timer running (goal: cpu/wall <= 5 %%)\n");
  measure("delay", runtime::delay);
  measure("busy wait", busyWait);
  DestroyWindow(window);
  return 0;
}
