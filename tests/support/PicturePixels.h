// A decoded picture's pixels in a form tests compare and print.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/DecodedPicture.h"

namespace seltane::testing {

// Pixels as 0xRRGGBB, row by row, top first.
using Pixels = std::vector<uint32_t>;

// The picture's pixels; every one must be opaque.
inline Pixels PixelsOf(const Picture& picture) {
  Pixels pixels;
  for (int32_t y = 0; y < picture.height; ++y) {
    for (int32_t x = 0; x < picture.width; ++x) {
      const uint8_t* p = picture.pixels.get() + y * picture.Stride() + x * 4;
      EXPECT_EQ(p[3], 255) << "alpha at " << x << "," << y;
      pixels.push_back(static_cast<uint32_t>(p[2]) << 16 | p[1] << 8 | p[0]);
    }
  }
  return pixels;
}

}  // namespace seltane::testing
