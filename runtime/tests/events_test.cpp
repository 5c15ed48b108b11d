#include "runtime/events.h"

#include <gtest/gtest.h>

#include <vector>

namespace runtime {
namespace {

constexpr UINT kProbeMessage = WM_APP + 7;

std::vector<WPARAM> received;

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == kProbeMessage) {
    received.push_back(w);
    return 0;
  }
  return DefWindowProcA(window, message, w, l);
}

class Events : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = recordingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "EventsTestWindow";
    RegisterClassA(&windowClass);
    window_ = CreateWindowA("EventsTestWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
    received.clear();
    drain();
  }
  void TearDown() override {
    DestroyWindow(window_);
    setMessageFilter(nullptr);
    drain();
  }
  static void drain() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  HWND window_ = nullptr;
};

TEST_F(Events, DelayOfZeroOrLessDispatchesNothing) {
  for (int32_t ms : {0, -5, -2000000000}) {
    PostMessageA(window_, kProbeMessage, 1, 0);
    const DWORD start = GetTickCount();
    delay(ms);
    EXPECT_LT(GetTickCount() - start, 200u);
    EXPECT_TRUE(received.empty()) << ms;
    drain();
  }
}

TEST(DelayEnd, ElapsedTimeAcrossTheTickCountWrap) {
  struct Row {
    DWORD start;
    DWORD now;
    int32_t ms;
    bool over;
  } rows[] = {
      {1000, 1000, 1, false},
      {1000, 1001, 1, false},  // the end itself is not past it
      {1000, 1002, 1, true},
      // A wait that crosses the wrap: an absolute end of 0x100 is "behind" the start.
      {0xFFFFFF00, 0xFFFFFF10, 0x200, false},
      {0xFFFFFF00, 0x00000050, 0x200, false},
      {0xFFFFFF00, 0x00000100, 0x200, false},
      {0xFFFFFF00, 0x00000101, 0x200, true},
      // A wait whose end (0xFFFFFFF0) falls just before the wrap: no later tick count is
      // above the end once the count has wrapped.
      {0xFFFFFE00, 0xFFFFFFF1, 0x1F0, true},
      {0xFFFFFE00, 0x00000005, 0x1F0, true},
      // The longest wait there is.
      {0x80000000, 0xFFFFFFFF, 0x7FFFFFFF, false},
      {0x80000000, 0x00000000, 0x7FFFFFFF, true},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(delayIsOver(row.start, row.now, row.ms), row.over)
        << std::hex << row.start << " " << row.now << " " << row.ms;
  }
}

TEST_F(Events, DelayDispatchesPostedMessagesAndWaitsItsTime) {
  PostMessageA(window_, kProbeMessage, 1, 0);
  const DWORD start = GetTickCount();
  delay(150);
  EXPECT_GE(GetTickCount() - start, 150u);
  EXPECT_EQ(received, std::vector<WPARAM>{1});
}

// A message that arrives in the middle of the wait is dispatched during it, not after.
DWORD dispatchedAfter = 0;
DWORD waitStart = 0;
LRESULT CALLBACK timestampProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_TIMER) {
    KillTimer(window, w);
    dispatchedAfter = GetTickCount() - waitStart;
    return 0;
  }
  return DefWindowProcA(window, message, w, l);
}

TEST_F(Events, MessageArrivingDuringTheWaitIsDispatched) {
  SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(timestampProc));
  dispatchedAfter = 0;
  waitStart = GetTickCount();
  SetTimer(window_, 1, 100, nullptr);
  delay(600);
  EXPECT_GE(dispatchedAfter, 90u);
  EXPECT_LT(dispatchedAfter, 500u);  // woken by the timer, not at the end of the wait
}

TEST_F(Events, ProcessEventsLeavesQuitQueued) {
  PostMessageA(window_, kProbeMessage, 1, 0);
  PostQuitMessage(3);
  PostMessageA(window_, kProbeMessage, 2, 0);
  processEvents();
  // Posted messages come before the quit, which stays for the main loop.
  EXPECT_EQ(received, (std::vector<WPARAM>{1, 2}));
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(m.wParam, 3u);
}

bool swallowOdd(MSG& message) {
  return message.message == kProbeMessage && (message.wParam % 2) == 1;
}

TEST_F(Events, FilterSwallowsMessages) {
  setMessageFilter(swallowOdd);
  for (WPARAM w = 1; w <= 4; ++w) PostMessageA(window_, kProbeMessage, w, 0);
  processEvents();
  EXPECT_EQ(received, (std::vector<WPARAM>{2, 4}));
}

}  // namespace
}  // namespace runtime
