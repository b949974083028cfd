// A 32-bit top-down bitmap in memory with a device context selected into it:
// a window draws into it first and copies it to the screen at once.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/Layout.h"

namespace seltane {

class FrameBitmap {
 public:
  FrameBitmap() = default;
  FrameBitmap(const FrameBitmap&) = delete;
  FrameBitmap& operator=(const FrameBitmap&) = delete;
  ~FrameBitmap() { Free(); }

  // Gives it the size, keeping it when it has that size already; a new one
  // is black. False, with none left, when the size is empty or the memory
  // cannot be had.
  bool Make(LayoutSize size);
  void Free();

  HDC Dc() const { return dc_; }
  // The pixels, blue, green, red and a fourth byte, rows top-down; GDI
  // calls on Dc() must be flushed (GdiFlush) before they are read.
  uint8_t* Pixels() const { return pixels_; }
  LayoutSize Size() const { return size_; }
  // Copies the area to the same place of the device context.
  void CopyTo(HDC dc, const RECT& area) const;
  // The colour at a point, as 0xRRGGBB; 0 outside.
  uint32_t PixelAt(int x, int y) const;

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  uint8_t* pixels_ = nullptr;
  LayoutSize size_;
};

}  // namespace seltane
