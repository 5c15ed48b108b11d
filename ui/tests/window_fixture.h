// Opening the real window for a test, driving it through its message queue, recording the
// events that reach bound handlers, and reading its pixels.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "ui/events.h"
#include "ui/layout.h"
#include "ui/properties.h"

namespace ui::testing {

// Every notice that reached `record` or `refuse`, in order.
std::vector<EventNotice>& events();
// Handlers: note the notice and return nothing / false / true.
std::optional<int32_t> record(const EventNotice& notice);
std::optional<int32_t> refuse(const EventNotice& notice);
std::optional<int32_t> agree(const EventNotice& notice);
// The event numbers noted so far for one control (nullptr: the window itself).
std::vector<int32_t> eventsOf(HWND control);

// Binds (event, handler) in the row (named apart from std::bind, which argument-dependent
// lookup would otherwise prefer) of `unitName` (kMainWindowUnit: the window), replacing a
// binding of the same event. The handler gets an identifier of its own beyond those of the
// layout, in the table that openTestWindow hands to openWindow.
void bindEvent(WindowLayout& layout, const char* unitName, int32_t event, EventHandler handler);
// Opens the layout with the recorders of the layout's procedures and every handler bound
// with bindEvent.
bool openTestWindow(const WindowLayout& layout);

// A test case with a fresh window: SetUp opens the layout (override `layout()`), pumps until
// it is shown, and clears the logs; TearDown destroys the window.
class WindowTest : public ::testing::Test {
 protected:
  virtual WindowLayout layout() const { return kMainWindowLayout; }
  void SetUp() override;
  void TearDown() override;
  // Posts a message to a control's window (or the window: kMainWindowUnit).
  void post(const char* unitName, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // Dispatches queued messages, also for a while when ms > 0.
  void pump(int ms = 0);
};

// The window's client pixels (0x00RRGGBB, rows top-down) in `area` (client coordinates).
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> data;
  uint32_t at(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};
Pixels captureClient(HWND window, const RECT& area);
// The window's background as drawn at the client size, from the decoded picture.
Pixels expectedBackground(HWND window, const RECT& area);
// Number of pixels in `area` (coordinates of the captures) where a and b differ.
int differences(const Pixels& a, const Pixels& b, const RECT& area);

RECT controlRect(const char* unitName);  // in the window's client coordinates

}  // namespace ui::testing
