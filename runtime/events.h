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

// ms <= 0 returns at once. Otherwise dispatches as processEvents does until more than ms
// milliseconds have passed since the call; between dispatches the thread sleeps until a
// message arrives or the time is up.
void delay(int32_t ms);

// The end test of delay: true once more than ms milliseconds lie between the tick counts
// start and now. Elapsed time is their difference modulo 2^32, so a wait that spans the
// 49.7-day wrap of GetTickCount ends on time.
bool delayIsOver(DWORD start, DWORD now, int32_t ms);

}  // namespace runtime
