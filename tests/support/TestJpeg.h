// JPEG test pictures, encoded with libjpeg itself.
#pragma once

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace seltane::testing {

struct JpegSettings {
  J_COLOR_SPACE colourSpace = JCS_RGB;  // JCS_GRAYSCALE and JCS_CMYK too
  bool progressive = false;
  bool manyScans = false;  // grey only: 505 scans, one coefficient bit each
};

// Test pictures are encoded with libjpeg itself; its errors come back here
// instead of ending the process.
struct EncoderErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};
[[noreturn]] inline void EncoderFailed(j_common_ptr info) {
  std::longjmp(reinterpret_cast<EncoderErrors*>(info->err)->jump, 1);
}

inline bool Compress(jpeg_compress_struct& info, int width, int height,
                     const JpegSettings& settings, const std::vector<jpeg_scan_info>& scans,
                     std::vector<uint8_t>& samples, unsigned char*& output,
                     unsigned long& outputSize) {
  EncoderErrors& errors = *reinterpret_cast<EncoderErrors*>(info.err);
  if (setjmp(errors.jump)) {
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &output, &outputSize);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components =
      settings.colourSpace == JCS_GRAYSCALE ? 1 : (settings.colourSpace == JCS_CMYK ? 4 : 3);
  info.in_color_space = settings.colourSpace;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  if (settings.progressive) {
    jpeg_simple_progression(&info);
  }
  if (!scans.empty()) {
    info.scan_info = scans.data();
    info.num_scans = static_cast<int>(scans.size());
  }
  jpeg_start_compress(&info, TRUE);
  const std::size_t stride = info.image_width * static_cast<std::size_t>(info.input_components);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = samples.data() + info.next_scanline * stride;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  return true;
}

// A JPEG of width x height whose samples (RGB, grey or CMYK) `fill` gives;
// empty when it could not be encoded.
template <typename Fill>
std::string EncodeJpeg(int width, int height, const JpegSettings& settings, Fill fill) {
  const int components =
      settings.colourSpace == JCS_GRAYSCALE ? 1 : (settings.colourSpace == JCS_CMYK ? 4 : 3);
  std::vector<uint8_t> samples(static_cast<std::size_t>(width) * height * components);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      fill(x, y, &samples[(static_cast<std::size_t>(y) * width + x) * components]);
    }
  }
  std::vector<jpeg_scan_info> scans;
  if (settings.manyScans) {
    scans.push_back({1, {0}, 0, 0, 0, 0});
    for (int k = 1; k < 64; ++k) {
      scans.push_back({1, {0}, k, k, 0, 7});
      for (int bit = 7; bit > 0; --bit) {
        scans.push_back({1, {0}, k, k, bit, bit - 1});
      }
    }
  }
  jpeg_compress_struct info{};
  EncoderErrors errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = EncoderFailed;
  unsigned char* output = nullptr;
  unsigned long outputSize = 0;
  const bool done = Compress(info, width, height, settings, scans, samples, output, outputSize);
  std::string jpeg = done ? std::string(reinterpret_cast<char*>(output), outputSize) : "";
  jpeg_destroy_compress(&info);
  std::free(output);
  return jpeg;
}

// The JPEG with `segments` APPn segments of 64 KiB after its SOI, as the
// metadata of photographs edited in common tools fills them.
inline std::string WithMetadata(const std::string& jpeg, int segments) {
  std::string metadata;
  for (int i = 0; i < segments; ++i) {
    metadata += {'\xFF', static_cast<char>(0xE1 + i % 14), '\xFF', '\xFF'};
    metadata.append(65533, 'x');
  }
  return jpeg.substr(0, 2) + metadata + jpeg.substr(2);
}

}  // namespace seltane::testing
