#include "ui/FrameBitmap.h"

#include <cstring>

#include "platform/BgraBitmap.h"

namespace seltane {

bool FrameBitmap::Make(LayoutSize size) {
  if (dc_ != nullptr && size == size_) {
    return true;
  }
  Free();
  if (size.width <= 0 || size.height <= 0) {
    return false;
  }
  const BITMAPINFO info = TopDownBgraInfo(size.width, size.height);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ == nullptr) {
    return false;
  }
  dc_ = CreateCompatibleDC(nullptr);
  oldBitmap_ = SelectObject(dc_, bitmap_);
  pixels_ = static_cast<uint8_t*>(bits);
  size_ = size;
  return true;
}

void FrameBitmap::Free() {
  if (dc_ != nullptr) {
    SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_ != nullptr) {
    DeleteObject(bitmap_);
  }
  dc_ = nullptr;
  bitmap_ = nullptr;
  pixels_ = nullptr;
  size_ = {};
}

void FrameBitmap::CopyTo(HDC dc, const RECT& area) const {
  if (dc_ != nullptr) {
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_, area.left,
           area.top, SRCCOPY);
  }
}

uint32_t FrameBitmap::PixelAt(int x, int y) const {
  if (pixels_ == nullptr || x < 0 || y < 0 || x >= size_.width || y >= size_.height) {
    return 0;
  }
  GdiFlush();
  uint32_t pixel = 0;
  std::memcpy(&pixel, pixels_ + (static_cast<std::size_t>(y) * size_.width + x) * 4, 4);
  return pixel & 0xFFFFFF;
}

}  // namespace seltane
