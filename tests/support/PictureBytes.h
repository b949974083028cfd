// Picture files put together byte by byte, shaped to exercise headers: JPEG
// markers up to the first scan, bitmaps of any header kind, depth and
// compression, icons of several images, metafile headers; and whole PNG,
// GIF and TIFF files that decoders show, stored without compression.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
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

// ---- PNG ----

inline void PutBe32(Bytes& to, uint32_t v) {
  PutBe16(to, v >> 16);
  PutBe16(to, v & 0xFFFF);
}

inline uint32_t PngCrc(const uint8_t* p, std::size_t count) {
  static const std::vector<uint32_t> table = [] {
    std::vector<uint32_t> t(256);
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) {
        c = (c & 1) != 0 ? 0xEDB88320 ^ (c >> 1) : c >> 1;
      }
      t[n] = c;
    }
    return t;
  }();
  uint32_t c = 0xFFFFFFFF;
  for (std::size_t i = 0; i < count; ++i) {
    c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
  }
  return c ^ 0xFFFFFFFF;
}

inline void PutPngChunk(Bytes& to, const char* type, const Bytes& data) {
  PutBe32(to, static_cast<uint32_t>(data.size()));
  const std::size_t start = to.size();
  to.insert(to.end(), type, type + 4);
  to.insert(to.end(), data.begin(), data.end());
  PutBe32(to, PngCrc(&to[start], to.size() - start));
}

struct PngShape {
  PngShape(uint32_t w, uint32_t h, uint8_t type = 6, uint8_t bits = 8)
      : width(w), height(h), colourType(type), depth(bits) {}

  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t colourType = 6;  // RGBA
  uint8_t depth = 8;
  uint8_t interlace = 0;
};

// Samples of one pixel at 8 bits: as many as the colour type has.
using PngFill = std::function<void(uint32_t x, uint32_t y, uint8_t* samples)>;

// A PNG whose IDAT holds the rows (filter 0) in stored deflate blocks. Without
// `fill`, or for pictures of more than 4 MiB, only the header is right.
inline Bytes Png(const PngShape& shape, const PngFill& fill = {}) {
  Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  PutBe32(header, shape.width);
  PutBe32(header, shape.height);
  Append(header, {shape.depth, shape.colourType, 0, 0, shape.interlace});
  PutPngChunk(file, "IHDR", header);
  const uint32_t samples = shape.colourType == 2   ? 3
                           : shape.colourType == 4 ? 2
                           : shape.colourType == 6 ? 4
                                                   : 1;
  const uint64_t rowBytes = (uint64_t{shape.width} * samples * shape.depth + 7) / 8;
  Bytes raw;
  if (fill && shape.depth == 8 && (rowBytes + 1) * shape.height <= (4u << 20)) {
    for (uint32_t y = 0; y < shape.height; ++y) {
      raw.push_back(0);
      for (uint32_t x = 0; x < shape.width; ++x) {
        raw.resize(raw.size() + samples);
        fill(x, y, &raw[raw.size() - samples]);
      }
    }
  }
  Bytes zlib = {0x78, 0x01};
  std::size_t done = 0;
  do {
    const std::size_t block = std::min<std::size_t>(raw.size() - done, 65535);
    zlib.push_back(done + block == raw.size() ? 1 : 0);
    PutLe16(zlib, static_cast<uint32_t>(block));
    PutLe16(zlib, static_cast<uint32_t>(~block & 0xFFFF));
    zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(done),
                raw.begin() + static_cast<std::ptrdiff_t>(done + block));
    done += block;
  } while (done < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBe32(zlib, b << 16 | a);
  PutPngChunk(file, "IDAT", zlib);
  PutPngChunk(file, "IEND", {});
  return file;
}

// ---- GIF ----

struct GifShape {
  GifShape(uint16_t w, uint16_t h)
      : screenWidth(w), screenHeight(h), frameWidth(w), frameHeight(h) {}

  uint16_t screenWidth = 0;
  uint16_t screenHeight = 0;
  uint16_t frameLeft = 0;  // the first image's place on the screen
  uint16_t frameTop = 0;
  uint16_t frameWidth = 0;
  uint16_t frameHeight = 0;
  std::vector<uint32_t> palette = {0x000000, 0xFFFFFF};  // 0xRRGGBB, up to 256
  std::optional<uint8_t> transparent;                    // a palette index
  std::function<uint8_t(int x, int y)> fill;             // palette index in the image
  Bytes extensions;                                      // blocks put before the first image
};

// A GIF with a global palette of 256 colours and one image whose codes are
// never merged: a clear code every 250 codes keeps them at 9 bits.
inline Bytes Gif(const GifShape& shape) {
  Bytes file = {'G', 'I', 'F', '8', '9', 'a'};
  PutLe16(file, shape.screenWidth);
  PutLe16(file, shape.screenHeight);
  Append(file, {0xF7, 0, 0});
  for (std::size_t i = 0; i < 256; ++i) {
    const uint32_t c = i < shape.palette.size() ? shape.palette[i] : 0;
    Append(file,
           {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)});
  }
  if (shape.transparent) {
    Append(file, {0x21, 0xF9, 4, 1, 0, 0, *shape.transparent, 0});
  }
  file.insert(file.end(), shape.extensions.begin(), shape.extensions.end());
  file.push_back(0x2C);
  for (uint16_t v : {shape.frameLeft, shape.frameTop, shape.frameWidth, shape.frameHeight}) {
    PutLe16(file, v);
  }
  Append(file, {0, 8});  // no palette of its own; minimum code size
  Bytes codes;
  uint32_t bits = 0;
  int bitCount = 0;
  auto put = [&](uint32_t code) {
    bits |= code << bitCount;
    for (bitCount += 9; bitCount >= 8; bitCount -= 8, bits >>= 8) {
      codes.push_back(static_cast<uint8_t>(bits));
    }
  };
  int run = 0;
  for (int y = 0; y < shape.frameHeight; ++y) {
    for (int x = 0; x < shape.frameWidth; ++x, ++run) {
      if (run % 250 == 0) {
        put(256);
      }
      put(shape.fill ? shape.fill(x, y) : 0);
    }
  }
  put(257);
  if (bitCount > 0) {
    codes.push_back(static_cast<uint8_t>(bits));
  }
  for (std::size_t at = 0; at < codes.size(); at += 255) {
    const std::size_t length = std::min<std::size_t>(255, codes.size() - at);
    file.push_back(static_cast<uint8_t>(length));
    file.insert(file.end(), codes.begin() + static_cast<std::ptrdiff_t>(at),
                codes.begin() + static_cast<std::ptrdiff_t>(at + length));
  }
  Append(file, {0, 0x3B});
  return file;
}

// ---- TIFF ----

struct TiffShape {
  TiffShape(uint32_t w, uint32_t h) : width(w), height(h) {}

  uint32_t width = 0;
  uint32_t height = 0;
  bool bigEndian = false;
  uint16_t samples = 3;
  uint16_t bits = 8;
  uint16_t photometric = 2;  // RGB
  uint16_t compression = 1;  // the data is stored plain whatever this says
  uint16_t planar = 1;
  bool strips = true;  // strip offsets and byte counts
  std::function<void(uint32_t x, uint32_t y, uint8_t* samples)> fill;  // 8-bit samples
};

// A TIFF of one strip after the 8-byte header, then the depths, then the
// first directory, at the end as many writers put it. Pictures of more than
// 4 MiB get no pixel data.
inline Bytes Tiff(const TiffShape& shape) {
  const bool be = shape.bigEndian;
  auto put16 = [be](Bytes& to, uint32_t v) { be ? PutBe16(to, v) : PutLe16(to, v); };
  auto put32 = [&](Bytes& to, uint32_t v) {
    put16(to, be ? v >> 16 : v & 0xFFFF);
    put16(to, be ? v & 0xFFFF : v >> 16);
  };
  Bytes file = be ? Bytes{'M', 'M', 0, 42} : Bytes{'I', 'I', 42, 0};
  put32(file, 0);  // the directory's offset, set below
  const uint64_t dataBytes =
      (uint64_t{shape.width} * shape.samples * shape.bits + 7) / 8 * shape.height;
  if (dataBytes <= (4u << 20)) {
    for (uint32_t y = 0; y < shape.height; ++y) {
      for (uint32_t x = 0; x < shape.width; ++x) {
        file.resize(file.size() + shape.samples * shape.bits / 8);
        if (shape.fill && shape.bits == 8) {
          shape.fill(x, y, &file[file.size() - shape.samples]);
        }
      }
    }
  }
  const auto depths = static_cast<uint32_t>(file.size());
  for (uint16_t i = 0; i < shape.samples; ++i) {
    put16(file, shape.bits);
  }
  if (file.size() % 2 != 0) {
    file.push_back(0);
  }
  const auto directory = static_cast<uint32_t>(file.size());
  Bytes offset;
  put32(offset, directory);
  std::copy(offset.begin(), offset.end(), file.begin() + 4);
  struct Entry {
    uint16_t tag, type;
    uint32_t count, value;
  };
  std::vector<Entry> entries = {
      {256, 4, 1, shape.width},
      {257, 4, 1, shape.height},
      {258, 3, shape.samples, shape.samples <= 2 ? shape.bits : depths},
      {259, 3, 1, shape.compression},
      {262, 3, 1, shape.photometric},
      {273, 4, 1, 8},
      {277, 3, 1, shape.samples},
      {278, 4, 1, shape.height},
      {279, 4, 1, static_cast<uint32_t>(dataBytes)},
      {284, 3, 1, shape.planar},
  };
  if (!shape.strips) {
    entries.erase(entries.begin() + 5);
  }
  put16(file, static_cast<uint32_t>(entries.size()));
  for (const Entry& e : entries) {
    put16(file, e.tag);
    put16(file, e.type);
    put32(file, e.count);
    if (e.type == 3 && e.count <= 2) {
      put16(file, e.value);  // a short stands at the start of the field
      put16(file, e.count == 2 ? e.value : 0);
    } else {
      put32(file, e.value);
    }
  }
  put32(file, 0);  // no next directory
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
