#include "platform/BitmapPicture.h"

#include <algorithm>

namespace seltane {
namespace {

uint16_t Read16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

constexpr uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2;

void PutPixel(uint8_t* out, uint8_t blue, uint8_t green, uint8_t red) {
  out[0] = blue;
  out[1] = green;
  out[2] = red;
  out[3] = 255;
}

// One colour channel of a 16- or 32-bit pixel: its mask's position, and how
// to bring its bits to 0-255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;  // the channel's largest value

  explicit Channel(uint32_t bits) : mask(bits) {
    if (bits != 0) {
      while ((bits & 1) == 0) {
        bits >>= 1;
        ++shift;
      }
      max = bits;  // contiguous masks; stray bits only dim the channel
    }
  }
  uint8_t Of(uint32_t pixel) const {
    if (max == 0) {
      return 0;
    }
    const uint64_t value = (pixel & mask) >> shift;
    return static_cast<uint8_t>(std::min<uint64_t>(255, (value * 255 + max / 2) / max));
  }
};

// Palette lookups; indices past the palette give black.
struct Palette {
  uint32_t colors[256] = {};  // 0xFFRRGGBB in memory order B, G, R, A

  // The entries the file holds; a short palette leaves the rest black.
  Palette(std::span<const uint8_t> file, const DibLayout& dib) {
    for (uint32_t i = 0; i < dib.paletteCount; ++i) {
      const uint64_t at = dib.paletteOffset + uint64_t{i} * dib.paletteEntrySize;
      if (at + 3 > file.size()) {
        break;
      }
      colors[i] = 0xFF000000u | file[at] | file[at + 1] << 8 | file[at + 2] << 16;
    }
  }
  void Put(uint8_t* out, uint32_t index) const {
    const uint32_t color = index < 256 ? colors[index] : 0;
    PutPixel(out, color & 0xFF, color >> 8 & 0xFF, color >> 16 & 0xFF);
  }
};

uint64_t RowBytes(uint64_t width, uint32_t bits) {
  return (width * bits + 31) / 32 * 4;
}

void DecodeRow(const uint8_t* in, const DibLayout& dib, const Palette& palette, int32_t width,
               uint8_t* out) {
  switch (dib.bitCount) {
    case 1:
      for (int32_t x = 0; x < width; ++x) {
        palette.Put(out + x * 4, in[x >> 3] >> (7 - (x & 7)) & 1);
      }
      break;
    case 4:
      for (int32_t x = 0; x < width; ++x) {
        palette.Put(out + x * 4, in[x >> 1] >> ((x & 1) ? 0 : 4) & 0xF);
      }
      break;
    case 8:
      for (int32_t x = 0; x < width; ++x) {
        palette.Put(out + x * 4, in[x]);
      }
      break;
    case 24:
      for (int32_t x = 0; x < width; ++x) {
        PutPixel(out + x * 4, in[x * 3], in[x * 3 + 1], in[x * 3 + 2]);
      }
      break;
    case 16:
    case 32: {
      if (dib.bitCount == 32 && dib.compression == BiRgb) {
        for (int32_t x = 0; x < width; ++x) {
          PutPixel(out + x * 4, in[x * 4], in[x * 4 + 1], in[x * 4 + 2]);
        }
        break;
      }
      const Channel red(dib.masks[0]), green(dib.masks[1]), blue(dib.masks[2]);
      for (int32_t x = 0; x < width; ++x) {
        const uint32_t pixel = dib.bitCount == 16 ? Read16(in + x * 2) : Read32(in + x * 4);
        PutPixel(out + x * 4, blue.Of(pixel), green.Of(pixel), red.Of(pixel));
      }
      break;
    }
    default:
      break;
  }
}

uint8_t* RowOf(Picture& picture, int32_t y) {
  return picture.pixels.get() + static_cast<std::ptrdiff_t>(y) * picture.Stride();
}

// Run-length encoded 8- and 4-bit bitmaps, always stored bottom-up. Pixels
// the runs skip stay black; runs past the right edge are cut.
PictureError DecodeRunLengths(std::span<const uint8_t> file, const DibLayout& dib,
                              const Palette& palette, Picture& picture) {
  const int32_t width = picture.width;
  const int32_t height = picture.height;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = RowOf(picture, y);
    for (int32_t x = 0; x < width; ++x) {
      PutPixel(row + x * 4, 0, 0, 0);
    }
  }
  const bool four = dib.compression == BiRle4;
  int64_t x = 0;
  int64_t line = 0;  // counted from the bottom
  auto put = [&](uint32_t index) {
    if (x < width && line < height) {
      palette.Put(RowOf(picture, static_cast<int32_t>(height - 1 - line)) + x * 4, index);
    }
    ++x;
  };
  const std::size_t size = file.size();
  std::size_t at = static_cast<std::size_t>(dib.pixelOffset);
  while (line < height) {
    if (at + 2 > size) {
      return PictureError::Damaged;  // the data ends before the picture does
    }
    const uint8_t count = file[at];
    const uint8_t value = file[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        put(four ? (i % 2 == 0 ? value >> 4 : value & 0xF) : value);
      }
    } else if (value == 0) {  // end of line
      x = 0;
      ++line;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // move right and up
      if (at + 2 > size) {
        return PictureError::Damaged;
      }
      x += file[at];
      line += file[at + 1];
      at += 2;
    } else {  // `value` pixels stored as they are, padded to a 16-bit boundary
      const std::size_t bytes = four ? (value + 1u) / 2 : value;
      if (at + bytes > size) {
        return PictureError::Damaged;
      }
      for (int i = 0; i < value; ++i) {
        put(four ? (i % 2 == 0 ? file[at + i / 2] >> 4 : file[at + i / 2] & 0xF) : file[at + i]);
      }
      at += (bytes + 1) & ~std::size_t{1};
    }
  }
  return PictureError::None;
}

// The colour rows, top-down in the picture, from rows stored bottom-up
// unless the layout says otherwise.
void DecodeRows(std::span<const uint8_t> file, const DibLayout& dib, const Palette& palette,
                Picture& picture) {
  const uint64_t rowBytes = RowBytes(static_cast<uint64_t>(picture.width), dib.bitCount);
  for (int32_t y = 0; y < picture.height; ++y) {
    const int32_t stored = dib.topDown ? y : picture.height - 1 - y;
    DecodeRow(file.data() + dib.pixelOffset + rowBytes * static_cast<uint64_t>(stored), dib,
              palette, picture.width, RowOf(picture, y));
  }
}

// An icon's image drawn on white, as DrawIconEx draws it: a 32-bit image
// with any alpha is blended by its alpha; otherwise where the mask is set
// the white is inverted by the colour (white where the colour is black, as
// writers leave it), and elsewhere the colour shows.
void DrawIconOnWhite(std::span<const uint8_t> file, const DibLayout& dib, Picture& picture) {
  const int32_t width = picture.width;
  const int32_t height = picture.height;
  const uint64_t colourRow = RowBytes(static_cast<uint64_t>(width), dib.bitCount);
  auto storedRow = [&](int32_t y) { return static_cast<uint64_t>(height - 1 - y); };
  bool alpha = false;
  if (dib.bitCount == 32) {
    for (int32_t y = 0; y < height && !alpha; ++y) {
      const uint8_t* in = file.data() + dib.pixelOffset + colourRow * storedRow(y);
      for (int32_t x = 0; x < width && !alpha; ++x) {
        alpha = in[x * 4 + 3] != 0;
      }
    }
  }
  const uint64_t maskRow = RowBytes(static_cast<uint64_t>(width), 1);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* out = RowOf(picture, y);
    const uint8_t* colours = file.data() + dib.pixelOffset + colourRow * storedRow(y);
    const uint8_t* mask =
        dib.maskOffset == 0 ? nullptr : file.data() + dib.maskOffset + maskRow * storedRow(y);
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* pixel = out + x * 4;
      if (alpha) {
        const unsigned a = colours[x * 4 + 3];
        for (int c = 0; c < 3; ++c) {
          pixel[c] = static_cast<uint8_t>((pixel[c] * a + 255 * (255 - a) + 127) / 255);
        }
      } else if (mask != nullptr && (mask[x >> 3] >> (7 - (x & 7)) & 1) != 0) {
        for (int c = 0; c < 3; ++c) {
          pixel[c] = static_cast<uint8_t>(255 - pixel[c]);
        }
      }
    }
  }
}

}  // namespace

PictureError DecodeBitmapPicture(std::span<const uint8_t> file, const PictureHeader& header,
                                 const DecodeOptions& options, Picture& picture) {
  picture = Picture{};
  const DibLayout& dib = header.dib;
  if ((header.format != PictureFormat::Bitmap && header.format != PictureFormat::Icon) ||
      file.size() < header.bytesNeeded) {
    return PictureError::Damaged;
  }
  picture.stored = {header.width, header.height};
  picture.part = {0, 0, header.width, header.height};
  if (const PictureError error =
          AllocatePixels(static_cast<uint64_t>(header.width), static_cast<uint64_t>(header.height),
                         options.maxPixels, picture);
      error != PictureError::None) {
    picture = Picture{};
    return error;
  }
  const Palette palette(file, dib);
  if (dib.compression == BiRle8 || dib.compression == BiRle4) {
    if (const PictureError error = DecodeRunLengths(file, dib, palette, picture);
        error != PictureError::None) {
      picture = Picture{};
      return error;
    }
    return PictureError::None;
  }
  DecodeRows(file, dib, palette, picture);
  if (header.format == PictureFormat::Icon) {
    DrawIconOnWhite(file, dib, picture);
  }
  return PictureError::None;
}

}  // namespace seltane
