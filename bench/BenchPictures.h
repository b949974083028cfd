// Photographs for the benchmarks, and the rate at which they decode in full.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "platform/Picture.h"
#include "platform/TextConversion.h"
#include "tests/support/TestJpeg.h"

namespace seltane::bench {

// A JPEG of the size with a photograph's amount of detail, so that it
// decodes (and compresses) as real ones do; `seed` makes each different.
inline std::string PhotographJpeg(int width, int height, int seed) {
  return testing::EncodeJpeg(width, height, {}, [seed](int x, int y, uint8_t* rgb) {
    rgb[0] = static_cast<uint8_t>(x * 7 + y * 3 + seed * 40);
    rgb[1] = static_cast<uint8_t>((x ^ y) + seed * 13);
    rgb[2] = static_cast<uint8_t>(y / 7 + x / 11);
  });
}

// The photograph with what a camera writes in front of the picture: an
// Exif segment of about 20 KiB that holds a 160 x 120 thumbnail, which a
// reader of the header passes over.
inline std::string WithCameraMetadata(const std::string& jpeg, int seed) {
  std::string exif("Exif\0\0II*\0\x08\0\0\0", 14);
  exif += PhotographJpeg(160, 120, seed);
  exif.resize(20 * 1024, '\0');
  const std::size_t length = exif.size() + 2;
  const std::string segment = std::string{'\xFF', '\xE1', static_cast<char>(length >> 8),
                                          static_cast<char>(length & 0xFF)} +
                              exif;
  return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

// Seconds to decode `count` of the files in full, one after the other,
// taken in turn from the whole set.
inline double FullDecodeSeconds(const std::vector<std::string>& paths, std::size_t count) {
  const auto start = std::chrono::steady_clock::now();
  for (std::size_t i = 0; i < count; ++i) {
    Picture picture;
    DecodePictureFile(WidenFromAnsi(paths[i * 37 % paths.size()]), {}, picture);
  }
  return SecondsSince(start);
}

}  // namespace seltane::bench
