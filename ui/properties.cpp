// The installer's access to the window: controls by unit name, properties by number, opening
// the window, and raising events.
#include "ui/properties.h"

#include <memory>

#include "runtime/fatal.h"
#include "ui/control_kinds.h"
#include "ui/main_window.h"

namespace ui {
namespace {

// The window opened last. Kept after its native window is gone, so that late property
// accesses only store; replaced by the next openWindow.
std::unique_ptr<MainWindow> g_window;

Control* controlNamed(const char* unitName) { return g_window ? g_window->controlNamed(unitName) : nullptr; }

}  // namespace

MainWindow* currentWindow() { return g_window.get(); }

bool raiseEvent(EventNotice& notice) {
  notice.hasResult = false;
  notice.result = 0;
  if (runtime::fatalErrorReported()) return false;  // no program code under a fatal error's box
  if (!g_window || !notice.window || g_window->hwnd() != notice.window) runtime::fatalError(0, "未找到引发事件的窗口");
  Control* control = notice.control ? g_window->controlOf(notice.control) : g_window.get();
  if (!control) runtime::fatalError(0, "未找到引发事件的窗口组件");
  for (const EventBinding& binding : control->bindings()) {
    if (!binding.handler || binding.event != notice.event) continue;
    const std::optional<int32_t> result = binding.handler(notice);
    notice.hasResult = result.has_value();
    notice.result = result.value_or(0);
    return true;
  }
  return false;
}

Value getProperty(const char* unitName, int32_t number) {
  Control* control = controlNamed(unitName);
  return control ? control->get(number) : Value{int32_t{0}};
}

void setProperty(const char* unitName, int32_t number, const Value& value) {
  if (Control* control = controlNamed(unitName)) control->set(number, value);
}

int32_t getNumber(const char* unitName, int32_t number) { return toNumber(getProperty(unitName, number)); }

runtime::Text getText(const char* unitName, int32_t number) { return toText(getProperty(unitName, number)); }

HWND mainWindow() { return g_window ? g_window->hwnd() : nullptr; }

HWND controlWindow(const char* unitName) {
  Control* control = controlNamed(unitName);
  return control ? control->hwnd() : nullptr;
}

unzip::ExtractionOwner* extractionOwner(const char* unitName) {
  Control* control = controlNamed(unitName);
  if (!control || control->kind() != ControlKind::Zip) return nullptr;
  return static_cast<ZipComponent*>(control);
}

bool openWindow(const WindowLayout& layout) {
  if (g_window) {
    // Destroyed while it is still the current window, so that its events find it.
    if (g_window->hwnd()) DestroyWindow(g_window->hwnd());
    g_window.reset();
  }
  g_window = std::make_unique<MainWindow>(layout);
  if (g_window->open()) return true;
  if (g_window->hwnd()) DestroyWindow(g_window->hwnd());
  return false;
}

void openStartupWindow() {
  if (!openWindow(kMainWindowLayout)) runtime::fatalStartupWindow();
}

}  // namespace ui
