// Decoding the background JPEG and drawing a picture in each mode.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "ui/layout.h"
#include "ui/picture.h"
#include "ui/resource_ids.h"

namespace ui {
namespace {

TEST(PictureTest, DecodingNeverEndsTheProgram) {
  const ResourceBytes jpeg = loadResourceData(UI_PICTURE_BACKGROUND);
  ASSERT_GT(jpeg.size, 1000u);
  std::vector<uint8_t> damaged(jpeg.data, jpeg.data + jpeg.size);
  for (size_t i = 2; i < 400; ++i) damaged[i] = 0x5A;  // headers overwritten
  const std::vector<uint8_t> text = {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
  struct Row {
    const char* name;
    const uint8_t* data;
    size_t size;
    int width;  // 0: no picture
  };
  const Row rows[] = {
      {"the background", jpeg.data, jpeg.size, 640},
      {"nothing", nullptr, 0, 0},
      {"not a JPEG", text.data(), text.size(), 0},
      {"damaged headers", damaged.data(), damaged.size(), 0},
      {"only the first 100 bytes", jpeg.data, 100, 0},
  };
  for (const Row& row : rows) {
    const Picture picture = Picture::decodeJpeg(row.data, row.size);
    EXPECT_EQ(picture.width(), row.width) << row.name;
    EXPECT_EQ(picture.empty(), row.width == 0) << row.name;
  }
  EXPECT_EQ(Picture::decodeJpeg(jpeg.data, jpeg.size).height(), 640);
}

// A 4 × 4 picture: red top-left quarter, the rest blue.
constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kFill = 0x00FF00;
Picture quarters(int w, int h) {
  std::vector<uint32_t> pixels;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels.push_back(x < w / 2 && y < h / 2 ? kRed : kBlue);
  return Picture::fromPixels(w, h, pixels.data());
}

// Draws into a w × h DIB and returns its pixels as 0x00RRGGBB.
std::vector<uint32_t> draw(const Picture& picture, int mode, int w, int h) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  drawPicture(dc, RECT{0, 0, w, h}, picture, mode, RGB(0, 255, 0));
  GdiFlush();
  std::vector<uint32_t> out(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + w * h);
  for (uint32_t& p : out) p &= 0x00FFFFFF;
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return out;
}

TEST(PictureTest, ModesPlaceThePictureAndFillTheRest) {
  struct Row {
    const char* name;
    int pictureWidth, pictureHeight, mode;
    int x, y;
    uint32_t colour;
  };
  const Row rows[] = {
      {"natural: picture at the corner", 4, 4, kNaturalSize, 0, 0, kRed},
      {"natural: blue part", 4, 4, kNaturalSize, 3, 3, kBlue},
      {"natural: filled beside", 4, 4, kNaturalSize, 4, 0, kFill},
      {"natural: filled below", 4, 4, kNaturalSize, 0, 4, kFill},
      {"tiled: second tile", 4, 4, kTiled, 4, 0, kRed},
      {"tiled: last partial tile", 4, 4, kTiled, 9, 7, kBlue},
      {"tiled: second row", 4, 4, kTiled, 9, 6, kBlue},
      {"centred smaller: offset", 4, 4, kCentredFit, 3, 2, kRed},
      {"centred smaller: filled left", 4, 4, kCentredFit, 2, 2, kFill},
      {"centred smaller: filled right", 4, 4, kCentredFit, 7, 2, kFill},
      {"centred larger: filled above", 40, 16, kCentredFit, 5, 0, kFill},
      {"centred larger: scaled top-left", 40, 16, kCentredFit, 0, 2, kRed},
      {"centred larger: scaled bottom-right", 40, 16, kCentredFit, 9, 5, kBlue},
      {"centred larger: filled below", 40, 16, kCentredFit, 5, 7, kFill},
      {"stretched: top-left", 4, 4, kStretched, 0, 0, kRed},
      {"stretched: bottom-right", 4, 4, kStretched, 9, 7, kBlue},
  };
  for (const Row& row : rows) {
    const std::vector<uint32_t> pixels = draw(quarters(row.pictureWidth, row.pictureHeight), row.mode, 10, 8);
    EXPECT_EQ(pixels[row.y * 10 + row.x], row.colour) << row.name;
  }
  // Without a picture the whole area takes the colour.
  for (uint32_t p : draw(Picture{}, kStretched, 10, 8)) ASSERT_EQ(p, kFill);
}

}  // namespace
}  // namespace ui
