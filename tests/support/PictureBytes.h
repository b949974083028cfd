// Picture files put together byte by byte, shaped to exercise headers: JPEG
// markers up to the first scan, bitmaps of any header kind, depth and
// compression, icons of several images, metafile headers.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace seltane::testing::picture_bytes {

using Bytes = std::vector<uint8_t>;

inline void Append(Bytes& to, std::initializer_list<uint8_t> bytes) {
  to.insert(to.end(), bytes);
}
inline void PutBe16(Bytes& to, uint32_t v) {
  Append(to, {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
}
inline void PutLe16(Bytes& to, uint32_t v) {
  Append(to, {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
}
inline void PutLe32(Bytes& to, uint32_t v) {
  PutLe16(to, v & 0xFFFF);
  PutLe16(to, v >> 16);
}

// ---- JPEG ----

struct JpegShape {
  JpegShape(uint8_t frameMarker, uint16_t frameWidth, uint16_t frameHeight)
      : marker(frameMarker), width(frameWidth), height(frameHeight) {}

  uint8_t marker = 0xC0;  // the frame's SOFn
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t precision = 8;
  std::vector<uint8_t> sampling = {0x11, 0x11, 0x11};  // one per component, H << 4 | V
  std::vector<uint8_t> firstScan;                      // component positions; empty: all
};

inline Bytes Soi() {
  return {0xFF, 0xD8};
}
// A marker segment with `payload` bytes after its length field.
inline void PutSegment(Bytes& to, uint8_t marker, std::size_t payload, uint8_t fill = 0x11) {
  Append(to, {0xFF, marker});
  PutBe16(to, static_cast<uint32_t>(payload + 2));
  to.insert(to.end(), payload, fill);
}
// Component i has the id i + 1.
inline void PutFrame(Bytes& to, const JpegShape& shape) {
  const auto count = static_cast<uint8_t>(shape.sampling.size());
  Append(to, {0xFF, shape.marker});
  PutBe16(to, 8 + 3u * count);
  to.push_back(shape.precision);
  PutBe16(to, shape.height);
  PutBe16(to, shape.width);
  to.push_back(count);
  for (uint8_t c = 0; c < count; ++c) {
    Append(to, {static_cast<uint8_t>(c + 1), shape.sampling[c], 0});
  }
}
// The frame, a table, the first scan's header, some data and the end.
inline void PutFrameAndScan(Bytes& to, const JpegShape& shape) {
  PutFrame(to, shape);
  PutSegment(to, 0xC4, 30);
  std::vector<uint8_t> scan = shape.firstScan;
  if (scan.empty()) {
    for (std::size_t c = 0; c < shape.sampling.size() && c < 4; ++c) {
      scan.push_back(static_cast<uint8_t>(c));
    }
  }
  Append(to, {0xFF, 0xDA});
  PutBe16(to, 6 + 2u * static_cast<uint32_t>(scan.size()));
  to.push_back(static_cast<uint8_t>(scan.size()));
  for (uint8_t c : scan) {
    Append(to, {static_cast<uint8_t>(c + 1), 0x00});
  }
  Append(to, {0, 63, 0});
  to.insert(to.end(), 40, 0x5A);
  Append(to, {0xFF, 0xD9});
}
inline Bytes Jpeg(const JpegShape& shape) {
  Bytes file = Soi();
  PutSegment(file, 0xE0, 14);  // JFIF
  PutSegment(file, 0xDB, 67);  // DQT
  PutFrameAndScan(file, shape);
  return file;
}
// A JPEG whose frame follows `segments` APPn segments of the largest size.
inline Bytes JpegAfterLargeSegments(int segments, const JpegShape& shape) {
  Bytes file = Soi();
  for (int i = 0; i < segments; ++i) {
    PutSegment(file, static_cast<uint8_t>(0xE0 + i % 16), 65533);
  }
  PutFrameAndScan(file, shape);
  return file;
}

// ---- Windows bitmaps ----

inline uint32_t RowBytes(int64_t width, uint32_t bits) {
  return static_cast<uint32_t>((width * bits + 31) / 32 * 4);
}

struct BitmapShape {
  BitmapShape(uint32_t header, int32_t w, int32_t h, uint16_t depth = 24, uint32_t coding = 0)
      : infoSize(header), width(w), height(h), bits(depth), compression(coding) {}

  uint32_t infoSize = 40;  // 12 for the OS/2 core header
  int32_t width = 0;
  int32_t height = 0;  // negative: top-down
  uint16_t bits = 24;
  uint32_t compression = 0;
};

// Grey palette, grey pixels; run-length data that ends every row at once.
// Pictures of more than a few MiB get no pixel data.
inline Bytes Bitmap(const BitmapShape& shape) {
  const int64_t rows = shape.height < 0 ? -int64_t{shape.height} : shape.height;
  const uint32_t palette = shape.bits <= 8 ? 1u << shape.bits : 0;
  const uint32_t entrySize = shape.infoSize == 12 ? 3 : 4;
  const uint32_t masks = shape.compression == 3 && shape.infoSize == 40 ? 12 : 0;
  Bytes file = {'B', 'M'};
  PutLe32(file, 0);  // file size, not read
  PutLe32(file, 0);
  PutLe32(file, 14 + shape.infoSize + masks + palette * entrySize);
  PutLe32(file, shape.infoSize);
  if (shape.infoSize == 12) {
    PutLe16(file, static_cast<uint32_t>(shape.width));
    PutLe16(file, static_cast<uint32_t>(shape.height));
    PutLe16(file, 1);
    PutLe16(file, shape.bits);
  } else {
    PutLe32(file, static_cast<uint32_t>(shape.width));
    PutLe32(file, static_cast<uint32_t>(shape.height));
    PutLe16(file, 1);
    PutLe16(file, shape.bits);
    PutLe32(file, shape.compression);
    file.resize(14 + shape.infoSize);
  }
  for (uint32_t i = 0; i < masks / 4; ++i) {
    PutLe32(file, 0xFFu << (16 - 8 * i));
  }
  for (uint32_t i = 0; i < palette; ++i) {
    const auto grey = static_cast<uint8_t>(i * 255 / (palette - 1));
    Append(file, {grey, grey, grey});
    if (entrySize == 4) {
      file.push_back(0);
    }
  }
  if (shape.compression == 1 || shape.compression == 2) {
    for (int64_t row = 0; row < rows; ++row) {
      Append(file, {0, 0});
    }
    Append(file, {0, 1});
  } else if (shape.width > 0 && uint64_t{RowBytes(shape.width, shape.bits)} * rows <= (4u << 20)) {
    file.insert(file.end(), RowBytes(shape.width, shape.bits) * rows, 0x80);
  }
  return file;
}

// ---- Icons ----

struct IconImageShape {
  IconImageShape(int32_t w, int32_t h, uint16_t depth, bool pngImage = false)
      : width(w), height(h), bits(depth), png(pngImage) {}

  int32_t width = 0;
  int32_t height = 0;
  uint16_t bits = 32;
  bool png = false;
  uint32_t colour = 0;  // every pixel, 0xAARRGGBB (alpha only in 32 bits)
  bool masked = false;  // every bit of the transparency mask set
};

// The directory gives each image's depth as 0, as many writers leave it.
inline Bytes Icon(const std::vector<IconImageShape>& images, uint16_t type = 1) {
  std::vector<Bytes> data;
  for (const IconImageShape& image : images) {
    Bytes bytes;
    if (image.png) {
      bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
      bytes.resize(64, 0);
    } else {
      // Palettes hold the colour at index 1, which every pixel takes.
      const uint32_t palette = image.bits <= 8 ? 1u << image.bits : 0;
      PutLe32(bytes, 40);
      PutLe32(bytes, static_cast<uint32_t>(image.width));
      PutLe32(bytes, static_cast<uint32_t>(image.height * 2));
      PutLe16(bytes, 1);
      PutLe16(bytes, image.bits);
      bytes.resize(40, 0);
      for (uint32_t i = 0; i < palette; ++i) {
        PutLe32(bytes, i == 1 ? image.colour & 0xFFFFFF : 0);
      }
      for (int32_t y = 0; y < image.height; ++y) {
        Bytes row;
        for (int32_t x = 0; x < image.width; ++x) {
          switch (image.bits) {
            case 1:
              if (x % 8 == 0) {
                row.push_back(0);
              }
              row.back() = static_cast<uint8_t>(row.back() | 0x80 >> (x % 8));
              break;
            case 4:
              if (x % 2 == 0) {
                row.push_back(0x10);
              } else {
                row.back() = static_cast<uint8_t>(row.back() | 0x01);
              }
              break;
            case 8:
              row.push_back(1);
              break;
            default:
              for (uint32_t b = 0; b < image.bits / 8u; ++b) {
                row.push_back(static_cast<uint8_t>(image.colour >> (8 * b)));
              }
          }
        }
        row.resize(RowBytes(image.width, image.bits), 0);
        bytes.insert(bytes.end(), row.begin(), row.end());
      }
      bytes.resize(bytes.size() + RowBytes(image.width, 1) * image.height,
                   image.masked ? 0xFF : 0x00);
    }
    data.push_back(bytes);
  }
  Bytes file;
  PutLe16(file, 0);
  PutLe16(file, type);
  PutLe16(file, static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    Append(file,
           {static_cast<uint8_t>(images[i].width), static_cast<uint8_t>(images[i].height), 0, 0});
    PutLe16(file, 1);
    PutLe16(file, 0);
    PutLe32(file, static_cast<uint32_t>(data[i].size()));
    PutLe32(file, offset);
    offset += static_cast<uint32_t>(data[i].size());
  }
  for (const Bytes& bytes : data) {
    file.insert(file.end(), bytes.begin(), bytes.end());
  }
  return file;
}

// ---- Metafiles ----

struct EmfHeader {
  int32_t frame[4] = {0, 0, 21000, 29700};  // A4 in 0.01 mm
  int32_t device[2] = {1024, 768};
  int32_t millimetres[2] = {320, 240};  // 3.2 pixels a millimetre
  uint32_t signature = 0x464D4520;
};
inline Bytes Emf(const EmfHeader& h) {
  Bytes file;
  PutLe32(file, 1);    // EMR_HEADER
  PutLe32(file, 108);  // record size
  for (int32_t v : {0, 0, 500, 700}) {
    PutLe32(file, static_cast<uint32_t>(v));  // rclBounds
  }
  for (int32_t v : h.frame) {
    PutLe32(file, static_cast<uint32_t>(v));
  }
  PutLe32(file, h.signature);
  PutLe32(file, 0x10000);  // version
  PutLe32(file, 128);      // bytes
  PutLe32(file, 2);        // records
  PutLe32(file, 1);        // handles, reserved
  PutLe32(file, 0);        // description
  PutLe32(file, 0);
  PutLe32(file, 0);  // palette entries
  for (int32_t v : {h.device[0], h.device[1], h.millimetres[0], h.millimetres[1]}) {
    PutLe32(file, static_cast<uint32_t>(v));
  }
  file.resize(108);
  PutLe32(file, 14);  // EMR_EOF
  PutLe32(file, 20);
  file.resize(128);
  return file;
}

inline Bytes PlaceableWmf(int16_t left, int16_t top, int16_t right, int16_t bottom, uint16_t inch) {
  Bytes file;
  PutLe32(file, 0x9AC6CDD7);
  PutLe16(file, 0);
  for (int16_t v : {left, top, right, bottom}) {
    PutLe16(file, static_cast<uint16_t>(v));
  }
  PutLe16(file, inch);
  PutLe32(file, 0);
  uint16_t checksum = 0;
  for (std::size_t i = 0; i < 20; i += 2) {
    checksum ^= static_cast<uint16_t>(file[i] | file[i + 1] << 8);
  }
  PutLe16(file, checksum);
  Append(file, {1, 0, 9, 0, 0, 3});  // the metafile header begins
  file.resize(file.size() + 12, 0);
  return file;
}

}  // namespace seltane::testing::picture_bytes
