// Photographs for the benchmarks, and the rate at which they decode in full.
#pragma once

#include <windows.h>

#include <wincodec.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "platform/Picture.h"
#include "platform/TextConversion.h"
#include "tests/support/TestJpeg.h"

namespace seltane::bench {

// A photograph's amount of detail at (x, y), RGB; `seed` makes each
// picture different.
inline void PhotographPixel(int x, int y, int seed, uint8_t* rgb) {
  rgb[0] = static_cast<uint8_t>(x * 7 + y * 3 + seed * 40);
  rgb[1] = static_cast<uint8_t>((x ^ y) + seed * 13);
  rgb[2] = static_cast<uint8_t>(y / 7 + x / 11);
}

// A JPEG of the size with a photograph's amount of detail, so that it
// decodes (and compresses) as real ones do.
inline std::string PhotographJpeg(int width, int height, int seed,
                                  const testing::JpegSettings& settings = {}) {
  return testing::EncodeJpeg(width, height, settings, [seed](int x, int y, uint8_t* rgb) {
    PhotographPixel(x, y, seed, rgb);
  });
}

// A PNG file of the same detail, RGB, encoded by the system's imaging
// component; `noiseBits` low bits of each sample are noise, as a camera's
// sensor gives them (a photograph then compresses to some 60 % of its samples,
// as real ones do; 0 for a render). False when it could not be written. COM
// must be initialised on the thread.
inline bool WritePhotographPng(const std::wstring& path, int width, int height, int seed,
                               int noiseBits) {
  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  bool written =
      SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
      SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
      SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
      SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) &&
      SUCCEEDED(frame->Initialize(nullptr)) &&
      SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
      SUCCEEDED(frame->SetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat24bppBGR);
  // Written a band of rows at a time.
  constexpr int BandRows = 64;
  const UINT stride = static_cast<UINT>(width) * 3;
  std::vector<uint8_t> band(std::size_t{stride} * BandRows);
  const uint32_t noise = (1u << noiseBits) - 1;
  for (int top = 0; written && top < height; top += BandRows) {
    const int rows = std::min(BandRows, height - top);
    for (int y = top; y < top + rows; ++y) {
      uint8_t* bgr = &band[std::size_t{stride} * (y - top)];
      for (int x = 0; x < width; ++x, bgr += 3) {
        uint8_t rgb[3];
        PhotographPixel(x, y, seed, rgb);
        const uint32_t hash =
            ((static_cast<uint32_t>(x) * 73856093u) ^ (static_cast<uint32_t>(y) * 19349663u)) *
            2654435761u;
        for (int i = 0; i < 3; ++i) {
          bgr[2 - i] = static_cast<uint8_t>(rgb[i] ^ (hash >> (8 * i + 5) & noise));
        }
      }
    }
    written = SUCCEEDED(frame->WritePixels(static_cast<UINT>(rows), stride,
                                           stride * static_cast<UINT>(rows), band.data()));
  }
  written = written && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
  for (IUnknown* object : std::initializer_list<IUnknown*>{frame, encoder, stream, factory}) {
    if (object != nullptr) {
      object->Release();
    }
  }
  return written;
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
