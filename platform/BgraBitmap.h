// The bitmap header GDI needs to draw or hold a decoded picture: 32-bit
// pixels in the order blue, green, red, alpha, rows top-down.
#pragma once

#include <windows.h>

#include <cstdint>

namespace seltane {

inline BITMAPINFO TopDownBgraInfo(int32_t width, int32_t height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace seltane
