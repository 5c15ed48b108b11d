#include "ui/picture.h"

#include <csetjmp>
#include <cstdio>
#include <utility>

#include <jpeglib.h>

namespace ui {
namespace {

// libjpeg's own error handler ends the process; this one jumps back to the decoder.
struct DecodeErrors {
  jpeg_error_mgr manager;
  std::jmp_buf resume;
};

void leaveDecoder(j_common_ptr info) { std::longjmp(reinterpret_cast<DecodeErrors*>(info->err)->resume, 1); }
void ignoreMessage(j_common_ptr) {}

// The decompressor and its error handler; plain C objects only.
struct Decoder {
  jpeg_decompress_struct info;
  DecodeErrors errors;
};

// Each step runs its libjpeg calls under its own jump target and holds no object with a
// destructor, so a jump skips nothing. False when libjpeg reported an error.
bool startDecoding(Decoder& decoder, const uint8_t* data, size_t size) {
  if (setjmp(decoder.errors.resume)) return false;
  jpeg_create_decompress(&decoder.info);
  jpeg_mem_src(&decoder.info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&decoder.info, TRUE);
  decoder.info.out_color_space = JCS_EXT_BGRX;  // the byte order of a 32-bit DIB
  jpeg_start_decompress(&decoder.info);
  return true;
}

bool readRows(Decoder& decoder, uint32_t* bits) {
  if (setjmp(decoder.errors.resume)) return false;
  jpeg_decompress_struct& info = decoder.info;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(bits + static_cast<size_t>(info.output_scanline) * info.output_width);
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}

}  // namespace

Picture Picture::blank(int width, int height) {
  Picture picture;
  if (width <= 0 || height <= 0) return picture;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  picture.bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!picture.bitmap_) return Picture{};
  picture.bits_ = static_cast<uint32_t*>(bits);
  picture.width_ = width;
  picture.height_ = height;
  return picture;
}

Picture Picture::decodeJpeg(const uint8_t* data, size_t size) {
  if (data == nullptr || size == 0) return Picture{};
  Decoder decoder{};
  decoder.info.err = jpeg_std_error(&decoder.errors.manager);
  decoder.errors.manager.error_exit = leaveDecoder;
  decoder.errors.manager.output_message = ignoreMessage;
  Picture picture;
  if (startDecoding(decoder, data, size) && decoder.info.output_width <= 16384 && decoder.info.output_height <= 16384) {
    // Refuses absurd sizes from a damaged header rather than asking for gigabytes.
    picture = blank(static_cast<int>(decoder.info.output_width), static_cast<int>(decoder.info.output_height));
    if (!picture.empty() && !readRows(decoder, picture.bits_)) picture = Picture{};
  }
  jpeg_destroy_decompress(&decoder.info);
  GdiFlush();
  return picture;
}

Picture Picture::fromPixels(int width, int height, const uint32_t* pixels) {
  Picture picture = blank(width, height);
  if (picture.empty()) return picture;
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) picture.bits_[i] = pixels[i] & 0x00FFFFFF;
  return picture;
}

uint32_t Picture::pixel(int x, int y) const {
  if (empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  return bits_[static_cast<size_t>(y) * width_ + x] & 0x00FFFFFF;
}

ResourceBytes loadResourceData(int id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!resource) return {};
  HGLOBAL loaded = LoadResource(module, resource);  // resources of the image: never freed
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return ResourceBytes{static_cast<const uint8_t*>(data), SizeofResource(module, resource)};
}

void drawPicture(HDC dc, const RECT& area, const Picture& picture, int32_t mode, COLORREF colour) {
  if (picture.empty()) {
    fillRect(dc, area, colour);
    return;
  }
  MemoryDc source(CreateCompatibleDC(dc));
  SelectedObject selected(source.get(), picture.bitmap());
  const int areaWidth = area.right - area.left;
  const int areaHeight = area.bottom - area.top;
  const int w = picture.width();
  const int h = picture.height();
  RECT covered{area.left, area.top, area.left, area.top};
  switch (mode) {
    case 1:  // tiled from the top-left corner
      for (int y = 0; y < areaHeight; y += h)
        for (int x = 0; x < areaWidth; x += w) BitBlt(dc, area.left + x, area.top + y, w, h, source.get(), 0, 0, SRCCOPY);
      covered = area;
      break;
    case 2: {  // centred; scaled down keeping the proportions only when larger than the area
      int drawWidth = w;
      int drawHeight = h;
      if (w > areaWidth || h > areaHeight) {
        if (static_cast<int64_t>(w) * areaHeight > static_cast<int64_t>(h) * areaWidth) {
          drawWidth = areaWidth;
          drawHeight = static_cast<int>(static_cast<int64_t>(h) * areaWidth / w);
        } else {
          drawHeight = areaHeight;
          drawWidth = static_cast<int>(static_cast<int64_t>(w) * areaHeight / h);
        }
      }
      covered.left = area.left + (areaWidth - drawWidth) / 2;
      covered.top = area.top + (areaHeight - drawHeight) / 2;
      covered.right = covered.left + drawWidth;
      covered.bottom = covered.top + drawHeight;
      SetStretchBltMode(dc, HALFTONE);
      SetBrushOrgEx(dc, 0, 0, nullptr);  // HALFTONE needs the brush origin reset after setting it
      StretchBlt(dc, covered.left, covered.top, drawWidth, drawHeight, source.get(), 0, 0, w, h, SRCCOPY);
      break;
    }
    case 3:  // stretched over the whole area
      covered = area;
      SetStretchBltMode(dc, HALFTONE);
      SetBrushOrgEx(dc, 0, 0, nullptr);
      StretchBlt(dc, area.left, area.top, areaWidth, areaHeight, source.get(), 0, 0, w, h, SRCCOPY);
      break;
    default:  // natural size at the top-left corner
      covered = RECT{area.left, area.top, area.left + w, area.top + h};
      BitBlt(dc, area.left, area.top, w, h, source.get(), 0, 0, SRCCOPY);
      break;
  }
  // Fill what the picture leaves uncovered, in at most four bands around it.
  IntersectRect(&covered, &covered, &area);
  const RECT bands[] = {
      {area.left, area.top, area.right, covered.top},
      {area.left, covered.bottom, area.right, area.bottom},
      {area.left, covered.top, covered.left, covered.bottom},
      {covered.right, covered.top, area.right, covered.bottom},
  };
  if (IsRectEmpty(&covered)) {
    fillRect(dc, area, colour);
    return;
  }
  for (const RECT& band : bands) {
    if (band.right > band.left && band.bottom > band.top) fillRect(dc, band, colour);
  }
}

}  // namespace ui
