// Dispatching and waiting: the nested message loops that keep the window live.
#pragma once

#include <windows.h>

#include <cstdint>

namespace runtime {

// Every message taken from the queue passes this filter first; true swallows the message.
// The window framework installs one (the main window's pre-filter).
using MessageFilter = bool (*)(MSG& message);
void setMessageFilter(MessageFilter filter);

// Filters, translates and dispatches one message, the way every loop of the program does.
void dispatchMessage(MSG& message);

// Dispatches queued messages until the queue is empty or WM_QUIT is next (it stays queued).
void processEvents();

// Work that keeps the GUI thread busy for long (the walk, the unpack) services the window
// through one of these at frame rate: serviceWhenDue dispatches as processEvents does when a
// frame's time has passed since it last did, so timers tick, the window repaints and a close
// request is taken while the work goes on. A look at every step would cost the work about a
// tenth of its time; GetTickCount is the cheapest clock, and its steps of 10 to 16 ms are fine
// enough for this.
constexpr DWORD kFrameIntervalMs = 15;
class FrameService {
 public:
  // Asked after each dispatch; false when the work must stop (its window was closed).
  using StillWanted = bool (*)();
  explicit FrameService(StillWanted stillWanted = nullptr);
  FrameService(const FrameService&) = delete;
  FrameService& operator=(const FrameService&) = delete;

  // True while the work may go on.
  bool serviceWhenDue();

 private:
  StillWanted stillWanted_;
  DWORD lastServiced_;
};

// Once the window has answered WM_ENDSESSION the system may end the process at any time, in
// the middle of work that a nested dispatch interrupted. Such work registers, for as long as
// it has something half done (a file partly written), how to undo it; the window runs every
// undo still registered, innermost first, before it answers. Registrations nest (LIFO).
class UndoOnSessionEnd {
 public:
  using Undo = void (*)(void* context);
  UndoOnSessionEnd(Undo undo, void* context);
  ~UndoOnSessionEnd();
  UndoOnSessionEnd(const UndoOnSessionEnd&) = delete;
  UndoOnSessionEnd& operator=(const UndoOnSessionEnd&) = delete;

 private:
  friend void undoForSessionEnd();
  Undo undo_;
  void* context_;
  UndoOnSessionEnd* outer_;
};
// Runs every registered undo, innermost first, and forgets them.
void undoForSessionEnd();

// ms <= 0 returns at once. Otherwise dispatches as processEvents does until more than ms
// milliseconds have passed since the call; between dispatches the thread sleeps until a
// message arrives or the time is up.
void delay(int32_t ms);

// The end test of delay: true once more than ms milliseconds lie between the tick counts
// start and now. Elapsed time is their difference modulo 2^32, so a wait that spans the
// 49.7-day wrap of GetTickCount ends on time.
bool delayIsOver(DWORD start, DWORD now, int32_t ms);

}  // namespace runtime
