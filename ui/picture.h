// Pictures: a JPEG decoded once into a 32-bit top-down DIB section, and drawing it over an
// area in one of the picture modes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/gdi.h"

namespace ui {

class Picture {
 public:
  Picture() = default;
  // A decoded baseline or progressive JPEG; an empty picture when the data is not one.
  static Picture decodeJpeg(const uint8_t* data, size_t size);
  // A picture of the given pixels (0x00RRGGBB each, rows top-down), for tests and tools.
  static Picture fromPixels(int width, int height, const uint32_t* pixels);

  bool empty() const { return !bitmap_; }
  int width() const { return width_; }
  int height() const { return height_; }
  HBITMAP bitmap() const { return bitmap_.get(); }
  // 0x00RRGGBB of a pixel; 0 outside.
  uint32_t pixel(int x, int y) const;

 private:
  static Picture blank(int width, int height);
  BitmapOwner bitmap_;
  uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// Bytes of an RCDATA resource of the program's image; size 0 when there is none.
struct ResourceBytes {
  const uint8_t* data = nullptr;
  size_t size = 0;
};
ResourceBytes loadResourceData(int id);

// Draws the picture over `area` (the whole client area) in `mode` (0 natural size at the top
// left, 1 tiled, 2 centred and scaled down to fit keeping its proportions, 3 stretched) and
// fills every other part with `colour`. Drawing is limited to the DC's clipping region.
void drawPicture(HDC dc, const RECT& area, const Picture& picture, int32_t mode, COLORREF colour);

}  // namespace ui
