// A control object: one per layout row, and the window itself. It owns the current values of
// its properties (numbered; 0 to 7 common to all), its event bindings and its native window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/events.h"
#include "ui/layout.h"
#include "ui/properties.h"

namespace ui {

class MainWindow;

class Control {
 public:
  Control(ControlKind kind, const char* unitName, const EventBindings& bindings, int32_t propertyCount);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  ControlKind kind() const { return kind_; }
  const runtime::Text& unitName() const { return unitName_; }
  HWND hwnd() const { return hwnd_; }
  // The procedure bound to an event of this control; Procedure::None when there is none.
  Procedure procedureFor(int32_t event) const;

  // Creates the native child window, hidden, at its layout place. False on failure.
  virtual bool create(MainWindow& window, const ControlLayout& row) = 0;

  Value get(int32_t number);
  void set(int32_t number, const Value& value);

  // Raises an event of this control with up to three arguments and returns the notice with
  // the handler's result; `handlerRan` (when given) tells whether a bound handler ran. Every
  // event of the window and its controls starts here. Once the native window is gone (a
  // handler of an earlier event destroyed it) nothing is raised.
  EventNotice raise(int32_t event, std::initializer_list<int32_t> arguments = {}, bool* handlerRan = nullptr);

  // Notifications that the main window receives on behalf of a child.
  virtual void command(WORD code) {}
  virtual HBRUSH colours(HDC dc) { return nullptr; }

  // The procedure of our window classes: the object is found through GWLP_USERDATA.
  static LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  // Called from WM_NCDESTROY of the native window: from now on values are only stored.
  void windowGone() { hwnd_ = nullptr; }

 protected:
  // The live value of an own property (number >= 8); the stored one by default.
  virtual Value liveValue(int32_t number) { return values_[number]; }
  // Acts on a changed own property after it was stored; only called while the window exists.
  virtual void apply(int32_t number) {}
  // The parent's client coordinates of the native window, or the screen's for a top-level one.
  RECT placement() const;

  // Stores a value without applying it (initial values from the layout).
  void store(int32_t number, Value value) { values_[number] = std::move(value); }
  int32_t number(int32_t property) const;
  runtime::Text text(int32_t property) const;

  // The numbers under which a label kind keeps the look of its caption.
  struct CaptionProperties {
    int32_t colour, effect, horizontal, vertical, wordWrap;
  };
  // Draws the caption kept under `caption` over the whole client area, in the stored look.
  void paintCaption(HDC dc, HFONT font, int32_t caption, const CaptionProperties& look) const;

  // Creates a child window of one of our classes (or a system class) for this control.
  bool createChild(MainWindow& window, const ControlLayout& row, const char* className, DWORD style,
                   DWORD exStyle, const char* windowText);

  // Every message of the native window (our classes) arrives here.
  virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // System classes (button, edit) are subclassed so that focus changes raise events.
  void subclass();

  MainWindow* window_ = nullptr;
  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK subclassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR reference);
  void setCommon(int32_t number, const Value& value);

  ControlKind kind_;
  runtime::Text unitName_;
  EventBindings bindings_;
  std::vector<Value> values_;
};

// Conversions between the two value types.
int32_t toNumber(const Value& value);
runtime::Text toText(const Value& value);

// Registers the window classes of our own kinds once; the class names.
bool registerWindowClasses();
constexpr const char* kWindowClass = "QxMainWindow";
constexpr const char* kTransLabelClass = "QxTransLabel";
constexpr const char* kLabelClass = "QxLabel";
constexpr const char* kSplitterBarClass = "QxSplitterBar";
constexpr const char* kHiddenClass = "QxHidden";

// Key state of the message being handled: bit 0 Ctrl, bit 1 Shift, bit 2 Alt.
int32_t keyState();

}  // namespace ui
