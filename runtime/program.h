// The program's frame: start-up, run directory, clean-up list, window lifetime, main loop.
#pragma once

#include <windows.h>

#include "runtime/path.h"

namespace runtime {

// Posted by destroyWindow; the window procedure hands it to handleDestroyRequest.
constexpr UINT kDestroyRequestMessage = 0x8065;

// Once, before anything else: error boxes off (SEM_FAILCRITICALERRORS |
// SEM_NOOPENFILEERRORBOX added to the mode in force), OLE, the run directory as current
// directory, the arrow cursor.
void startRuntime();

// The folder of the program's executable without a trailing backslash ("D:" for D:\x.exe).
Text runDirectory();
// The rule behind runDirectory, for tests: the module path cut at its last backslash.
Text directoryOfModulePath(const Text& modulePath);
HCURSOR arrowCursor();

// Clean-up procedures run in registration order after the main loop; duplicates ignored.
using CleanupProcedure = void (*)();
void registerCleanup(CleanupProcedure procedure);
// Runs the list once and empties it.
void runCleanup();

// Top-level windows of the program. The framework registers each one it creates and reports
// its end from WM_NCDESTROY; when the last one goes while the main loop runs, the loop quits.
void registerProgramWindow(HWND window);
void programWindowDestroyed(HWND window);
int programWindowCount();
// True for a registered window and for every child window inside one.
bool isProgramWindow(HWND window);

// Marks the window as closing and posts kDestroyRequestMessage; returns at once.
void destroyWindow(HWND window);
// For window procedures: handles kDestroyRequestMessage for a window marked as closing
// (re-enables what its modal show disabled, then DestroyWindow). True when handled.
bool handleDestroyRequest(HWND window, UINT message);
bool isClosing(HWND window);

// A modal show disables the program's other enabled top-level windows; they are enabled
// again when the modal window is destroyed through destroyWindow.
void disableForModal(HWND modalWindow);

// Runs while at least one program window exists: fetch, filter, dispatch; the idle handler
// runs whenever the queue is empty. Returns after WM_QUIT, at once when no window exists.
using IdleHandler = void (*)();
void setIdleHandler(IdleHandler handler);
void runMessageLoop();
bool isMainLoopRunning();

// The frame: clean-up after the loop, then the exit code 0.
[[noreturn]] void exitProgram();

}  // namespace runtime
