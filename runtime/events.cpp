#include "runtime/events.h"

namespace runtime {
namespace {

MessageFilter messageFilter = nullptr;

bool quitIsNext() {
  MSG next;
  return PeekMessageW(&next, nullptr, 0, 0, PM_NOREMOVE) && next.message == WM_QUIT;
}

}  // namespace

void setMessageFilter(MessageFilter filter) {
  messageFilter = filter;
}

void dispatchMessage(MSG& message) {
  if (messageFilter != nullptr && messageFilter(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void processEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) break;
    if (message.message == WM_QUIT) {
      // Something posted the quit between the two looks: leave it for the main loop.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    dispatchMessage(message);
  }
}

FrameService::FrameService(StillWanted stillWanted) : stillWanted_(stillWanted), lastServiced_(GetTickCount()) {}

bool FrameService::serviceWhenDue() {
  if (GetTickCount() - lastServiced_ < kFrameIntervalMs) return true;
  processEvents();
  lastServiced_ = GetTickCount();
  return stillWanted_ == nullptr || stillWanted_();
}

namespace {
UndoOnSessionEnd* innermostUndo = nullptr;
}  // namespace

UndoOnSessionEnd::UndoOnSessionEnd(Undo undo, void* context) : undo_(undo), context_(context), outer_(innermostUndo) {
  innermostUndo = this;
}

UndoOnSessionEnd::~UndoOnSessionEnd() {
  // After undoForSessionEnd the list is empty and this one is no longer in it.
  if (innermostUndo == this) innermostUndo = outer_;
}

void undoForSessionEnd() {
  while (innermostUndo != nullptr) {
    UndoOnSessionEnd* undo = innermostUndo;
    innermostUndo = undo->outer_;
    undo->undo_(undo->context_);
  }
}

bool delayIsOver(DWORD start, DWORD now, int32_t ms) {
  return now - start > static_cast<DWORD>(ms);
}

void delay(int32_t ms) {
  if (ms <= 0) return;
  const DWORD start = GetTickCount();
  for (;;) {
    processEvents();
    processEvents();
    const DWORD now = GetTickCount();
    if (delayIsOver(start, now, ms)) return;
    const DWORD remaining = static_cast<DWORD>(ms) - (now - start) + 1;
    if (quitIsNext()) {
      // A pending quit would wake the wait below at once, every time: sleep instead.
      Sleep(remaining < 10 ? remaining : 10);
    } else {
      MsgWaitForMultipleObjectsEx(0, nullptr, remaining, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
  }
}

}  // namespace runtime
