#include "ui/tests/window_fixture.h"

#include <cstring>

#include "runtime/events.h"
#include "ui/picture.h"
#include "ui/resource_ids.h"
#include "ui/tests/recording_procedures.h"

namespace ui::testing {

std::vector<EventNotice>& events() {
  static std::vector<EventNotice> noted;
  return noted;
}

std::optional<int32_t> record(const EventNotice& notice) {
  events().push_back(notice);
  return std::nullopt;
}
std::optional<int32_t> refuse(const EventNotice& notice) {
  events().push_back(notice);
  return 0;
}
std::optional<int32_t> agree(const EventNotice& notice) {
  events().push_back(notice);
  return 1;
}

std::vector<int32_t> eventsOf(HWND control) {
  std::vector<int32_t> numbers;
  for (const EventNotice& notice : events()) {
    if (notice.control == control) numbers.push_back(notice.event);
  }
  return numbers;
}

namespace {

std::vector<ProcedureRow>& testProcedures() {
  static std::vector<ProcedureRow> table(recorders().begin(), recorders().end());
  return table;
}

// The identifier of a handler in the test table, given one when it is new.
Procedure procedureOf(EventHandler handler) {
  std::vector<ProcedureRow>& table = testProcedures();
  for (const ProcedureRow& row : table) {
    if (row.handler == handler) return row.procedure;
  }
  const int id = static_cast<int>(kLastProcedure) + 1 + static_cast<int>(table.size() - recorders().size());
  EXPECT_LE(id, 255) << "too many test handlers for a procedure identifier";
  table.push_back(ProcedureRow{static_cast<Procedure>(id), handler});
  return table.back().procedure;
}

}  // namespace

bool openTestWindow(const WindowLayout& layout) { return openWindow(layout, testProcedures()); }

void bindEvent(WindowLayout& layout, const char* unitName, int32_t event, EventHandler handler) {
  const Procedure procedure = procedureOf(handler);
  EventBindings* bindings = nullptr;
  if (std::strcmp(unitName, kMainWindowUnit) == 0) {
    bindings = &layout.window.bindings;
  } else {
    ControlLayout* row = findControl(layout, unitName);
    ASSERT_NE(row, nullptr) << unitName;
    bindings = &row->bindings;
  }
  for (EventBinding& binding : *bindings) {
    if (binding.procedure != Procedure::None && binding.event == event) {
      binding.procedure = procedure;
      return;
    }
  }
  for (EventBinding& binding : *bindings) {
    if (binding.procedure == Procedure::None) {
      binding = EventBinding{event, procedure};
      return;
    }
  }
  FAIL() << "no free binding slot in " << unitName;
}

void WindowTest::SetUp() {
  // The real pointer stays out of the window, so it adds no mouse messages of its own.
  SetCursorPos(0, 0);
  ASSERT_TRUE(openTestWindow(layout()));
  ASSERT_NE(mainWindow(), nullptr);
  SetForegroundWindow(mainWindow());
  pump(150);
  events().clear();
  procedureLog().clear();
}

void WindowTest::TearDown() {
  if (mainWindow()) DestroyWindow(mainWindow());
  pump();
}

void WindowTest::post(const char* unitName, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND target = std::strcmp(unitName, kMainWindowUnit) == 0 ? mainWindow() : controlWindow(unitName);
  ASSERT_NE(target, nullptr) << unitName;
  PostMessageA(target, message, wParam, lParam);
}

void WindowTest::pump(int ms) {
  runtime::processEvents();
  if (ms > 0) runtime::delay(ms);
}

Pixels captureClient(HWND window, const RECT& area) {
  Pixels pixels;
  pixels.width = area.right - area.left;
  pixels.height = area.bottom - area.top;
  pixels.data.assign(static_cast<size_t>(pixels.width) * pixels.height, 0);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  // Without DCX_CLIPCHILDREN the children's pixels are read too.
  HDC source = GetDCEx(window, nullptr, DCX_CACHE);
  BitBlt(memory, 0, 0, pixels.width, pixels.height, source, area.left, area.top, SRCCOPY);
  ReleaseDC(window, source);
  GdiFlush();
  const auto* p = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < pixels.data.size(); ++i) pixels.data[i] = p[i] & 0x00FFFFFF;
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return pixels;
}

Pixels expectedBackground(HWND window, const RECT& area) {
  RECT client{};
  GetClientRect(window, &client);
  ResourceBytes jpeg = loadResourceData(UI_PICTURE_BACKGROUND);
  Picture picture = Picture::decodeJpeg(jpeg.data, jpeg.size);
  Pixels whole;
  whole.width = client.right;
  whole.height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = whole.width;
  info.bmiHeader.biHeight = -whole.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  drawPicture(memory, client, picture, kStretched, GetSysColor(COLOR_BTNFACE));
  GdiFlush();
  Pixels pixels;
  pixels.width = area.right - area.left;
  pixels.height = area.bottom - area.top;
  const auto* p = static_cast<const uint32_t*>(bits);
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) pixels.data.push_back(p[static_cast<size_t>(y) * whole.width + x] & 0x00FFFFFF);
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return pixels;
}

int differences(const Pixels& a, const Pixels& b, const RECT& area) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (a.at(x, y) != b.at(x, y)) ++count;
  return count;
}

RECT controlRect(const char* unitName) {
  HWND control = controlWindow(unitName);
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, mainWindow(), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace ui::testing
