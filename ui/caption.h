// Drawing a caption the way both kinds of label do: font, format, the four text effects.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/text.h"

namespace ui {

struct CaptionLook {
  HFONT font = nullptr;  // nullptr: the system's default GUI font
  COLORREF colour = 0;
  int32_t effect = 0;      // 0 none, 1 white shadow, 2 white relief, 3 black shadow
  int32_t horizontal = 0;  // 0 left, 1 centred, 2 right
  int32_t vertical = 1;    // 0 top, 1 centred, 2 bottom; ignored with word wrap
  bool wordWrap = false;
};

// The DrawText format of a look: never clipped; word breaking, or one line placed vertically.
UINT captionFormat(const CaptionLook& look);

// Draws the caption in `area` with a transparent background; an empty caption draws nothing.
void drawCaption(HDC dc, const RECT& area, const runtime::Text& caption, const CaptionLook& look);

}  // namespace ui
