// Small pictures written by the tests themselves.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Files.h"

namespace seltane::testing {

// A 24-bit Windows bitmap of one colour (0xRRGGBB).
inline std::string BitmapBytes(int width, int height, uint32_t colour) {
  const int stride = (width * 3 + 3) & ~3;
  const uint32_t pixelBytes = static_cast<uint32_t>(stride * height);
  std::string bytes;
  auto put = [&](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
      bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
  };
  bytes += "BM";
  put(54 + pixelBytes, 4);
  put(0, 4);
  put(54, 4);
  put(40, 4);
  put(static_cast<uint32_t>(width), 4);
  put(static_cast<uint32_t>(height), 4);
  put(1, 2);
  put(24, 2);
  put(0, 4);
  put(pixelBytes, 4);
  put(2835, 4);
  put(2835, 4);
  put(0, 4);
  put(0, 4);
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      put(colour & 0xFF, 1);
      put((colour >> 8) & 0xFF, 1);
      put((colour >> 16) & 0xFF, 1);
    }
    bytes.append(static_cast<std::size_t>(stride - width * 3), '\0');
  }
  return bytes;
}

inline bool WriteBitmap(const std::string& path, int width, int height, uint32_t colour) {
  std::string error;
  return WriteFileReplacing(path, BitmapBytes(width, height, colour), error);
}

}  // namespace seltane::testing
