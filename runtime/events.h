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

// ms <= 0 returns at once. Otherwise dispatches as processEvents does until the tick count,
// compared as unsigned 32-bit values, is past GetTickCount() + ms at the start; between
// dispatches the thread sleeps until a message arrives or the time is up.
void delay(int32_t ms);

}  // namespace runtime
