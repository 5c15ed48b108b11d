// The kinds of child control: what each stores, applies and does with its messages.
#pragma once

#include <memory>

#include "ui/caption.h"
#include "ui/control.h"
#include "ui/gdi.h"
#include "unzip/extraction_owner.h"

namespace ui {

// A font property: a complete 60-byte logical font record as a text; any other size (or an
// empty text) means the system's default GUI font.
// Its face name is code page 936 bytes on every system; the font is made from the LOGFONTW
// that wideFont converts it to.
runtime::Text fontRecord(const LOGFONTA* font);
bool wideFont(const runtime::Text& record, LOGFONTW& wide);
FontOwner createFont(const runtime::Text& record);

// A kind of our own window classes that draws itself: one paint routine serves WM_PAINT and
// WM_PRINTCLIENT, and nothing is erased before it (an opaque kind fills its whole area, a
// transparent one lets what lies beneath show through).
class PaintedControl : public Control {
 protected:
  using Control::Control;
  virtual void paint(HDC dc) = 0;
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A label that draws only its text over whatever lies beneath.
class TransLabel : public PaintedControl {
 public:
  explicit TransLabel(const ControlLayout& row);
  bool create(MainWindow& window, const ControlLayout& row) override;

 private:
  void apply(int32_t number) override;
  void paint(HDC dc) override;
  void redrawOverBackground();
  FontOwner font_;
};

// An opaque label with its own colours.
class Label : public PaintedControl {
 public:
  explicit Label(const ControlLayout& row);
  bool create(MainWindow& window, const ControlLayout& row) override;

 private:
  void apply(int32_t number) override;
  void paint(HDC dc) override;
  FontOwner font_;
};

class Button : public Control {
 public:
  explicit Button(const ControlLayout& row);
  bool create(MainWindow& window, const ControlLayout& row) override;
  void command(WORD code) override;

 private:
  void apply(int32_t number) override;
  DWORD style() const;
  FontOwner font_;
};

class EditBox : public Control {
 public:
  explicit EditBox(const ControlLayout& row);
  bool create(MainWindow& window, const ControlLayout& row) override;
  void command(WORD code) override;
  HBRUSH colours(HDC dc) override;

 private:
  Value liveValue(int32_t number) override;
  void apply(int32_t number) override;
  FontOwner font_;
  BrushOwner background_;
  bool settingContent_ = false;
};

// An invisible window owning one Windows timer (identifier 1000).
class Timer : public Control {
 public:
  explicit Timer(const ControlLayout& row);
  bool create(MainWindow& window, const ControlLayout& row) override;
  bool running() const { return running_; }

 private:
  Value liveValue(int32_t number) override;
  void apply(int32_t number) override;
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void restart(int32_t interval);
  int32_t interval_ = 0;  // the value in force
  bool running_ = false;
};

// A bar dragged along one axis; it shows an inverted line while dragged and reports where the
// drag ended. It does not move itself.
class SplitterBar : public PaintedControl {
 public:
  explicit SplitterBar(const ControlLayout& row);
  bool create(MainWindow& window, const ControlLayout& row) override;
  // Esc during a drag cancels it; the message filter hands keys over while we hold the capture.
  bool dragging() const { return dragging_; }
  void cancelDrag();

 private:
  void apply(int32_t number) override;
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void paint(HDC dc) override;
  bool horizontal() const;
  void beginDrag(POINT at);
  void moveDrag(POINT at);
  void endDrag(bool report);
  void invertLine(int32_t position);
  int32_t parentPosition(POINT barPoint) const;

  bool dragging_ = false;
  int32_t start_ = 0;      // the bar's position (parent client coordinates) when the drag began
  int32_t candidate_ = 0;  // where the line is drawn now
  int32_t grip_ = 0;       // the press's offset inside the bar
  BitmapOwner patternBits_;
  BrushOwner pattern_;
};

// The archive component: invisible; its progress event (1) reaches the extractor's owner.
class ZipComponent : public Control, public unzip::ExtractionOwner {
 public:
  explicit ZipComponent(const ControlLayout& row);
  bool create(MainWindow& window, const ControlLayout& row) override;
  bool windowExists() const override;
  unzip::EventOutcome raiseProgressEvent(int32_t percent) override;
};

std::unique_ptr<Control> makeControl(const ControlLayout& row);

}  // namespace ui
