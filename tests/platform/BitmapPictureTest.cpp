// Windows bitmaps and icons, decoded by plain code in every build.
#include "platform/BitmapPicture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/PictureBytes.h"
#include "tests/support/PicturePixels.h"

namespace seltane {
namespace {

void Put16(std::string& bytes, std::size_t at, uint32_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>(value >> 8 & 0xFF);
}
void Put32(std::string& bytes, std::size_t at, uint32_t value) {
  Put16(bytes, at, value & 0xFFFF);
  Put16(bytes, at + 2, value >> 16);
}

// A Windows bitmap file written by hand: the header of `infoSize` bytes (12
// for the OS/2 core header), then `table` (palette colours as 0xRRGGBB, or
// the three bit-field masks), then the pixel data as given.
std::string BitmapFile(int32_t width, int32_t height, int bits, uint32_t compression,
                       const std::vector<uint32_t>& table, const std::string& pixels,
                       uint32_t infoSize = 40) {
  std::string info(std::max<uint32_t>(infoSize, 40), '\0');
  Put32(info, 0, infoSize);
  if (infoSize == 12) {
    Put16(info, 4, static_cast<uint32_t>(width));
    Put16(info, 6, static_cast<uint32_t>(height));
    Put16(info, 8, 1);
    Put16(info, 10, static_cast<uint32_t>(bits));
  } else {
    Put32(info, 4, static_cast<uint32_t>(width));
    Put32(info, 8, static_cast<uint32_t>(height));
    Put16(info, 12, 1);
    Put16(info, 14, static_cast<uint32_t>(bits));
    Put32(info, 16, compression);
    Put32(info, 20, static_cast<uint32_t>(pixels.size()));
    Put32(info, 32, bits <= 8 ? static_cast<uint32_t>(table.size()) : 0);
  }
  info.resize(infoSize);
  std::string entries;
  for (uint32_t value : table) {
    std::string entry(4, '\0');
    Put32(entry, 0, value);
    if (infoSize == 12 && bits <= 8) {
      entry.resize(3);
    }
    entries += entry;
  }
  std::string file(14, '\0');
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 2, static_cast<uint32_t>(14 + info.size() + entries.size() + pixels.size()));
  Put32(file, 10, static_cast<uint32_t>(14 + info.size() + entries.size()));
  return file + info + entries + pixels;
}

using testing::Pixels;
using testing::PixelsOf;

// Examines the file and decodes it as the Windows side does.
PictureError Decode(const std::string& bytes, Picture& picture, const DecodeOptions& options = {}) {
  const std::span<const uint8_t> file(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  const PictureHeaderResult examined = ExaminePicture(file, options.maxPixels);
  if (examined.verdict != PictureError::None) {
    picture = Picture{};
    return examined.verdict;
  }
  return DecodeBitmapPicture(file, examined.header, options, picture);
}
PictureError Decode(const std::vector<uint8_t>& bytes, Picture& picture) {
  return Decode(std::string(bytes.begin(), bytes.end()), picture);
}

// A 5 x 3 picture in the eight colours every bitmap depth holds exactly.
constexpr int32_t W = 5, H = 3;
const uint32_t Colours[8] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF,
                             0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
uint32_t IndexAt(int32_t x, int32_t y) {
  return static_cast<uint32_t>(x + y * 3) % 8;
}
Pixels Reference() {
  Pixels pixels;
  for (int32_t y = 0; y < H; ++y) {
    for (int32_t x = 0; x < W; ++x) {
      pixels.push_back(Colours[IndexAt(x, y)]);
    }
  }
  return pixels;
}

// The rows of the reference picture in one bitmap depth, bottom row first
// unless topDown, each padded to a 32-bit boundary.
std::string Rows(int bits, bool topDown = false) {
  std::string data;
  for (int32_t i = 0; i < H; ++i) {
    const int32_t y = topDown ? i : H - 1 - i;
    std::string row;
    for (int32_t x = 0; x < W; ++x) {
      const uint32_t index = IndexAt(x, y);
      const uint32_t rgb = Colours[index];
      const uint8_t r = rgb >> 16, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
      switch (bits) {
        case 1:  // a two-colour picture: odd indices white
          if (x % 8 == 0) {
            row += '\0';
          }
          row.back() = static_cast<char>(row.back() | (index % 2) << (7 - x % 8));
          break;
        case 4:
          if (x % 2 == 0) {
            row += static_cast<char>(index << 4);
          } else {
            row.back() = static_cast<char>(row.back() | index);
          }
          break;
        case 8:
          row += static_cast<char>(index);
          break;
        case 15:    // 5-5-5 in 16 bits
        case 16: {  // 5-6-5
          const uint16_t v = bits == 15 ? (r >> 3) << 10 | (g >> 3) << 5 | b >> 3
                                        : (r >> 3) << 11 | (g >> 2) << 5 | b >> 3;
          row += static_cast<char>(v & 0xFF);
          row += static_cast<char>(v >> 8);
          break;
        }
        case 24:
          row += {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r)};
          break;
        case 32:  // the fourth byte is usually 0 and must not make it transparent
          row += {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r), '\0'};
          break;
      }
    }
    row.resize((row.size() + 3) / 4 * 4, '\0');
    data += row;
  }
  return data;
}

std::vector<uint32_t> ColourTable() {
  return std::vector<uint32_t>(std::begin(Colours), std::end(Colours));
}

TEST(PictureBitmap, EveryDepthDecodesToTheSameTopDownPixels) {
  struct Case {
    const char* name;
    std::string file;
    Pixels expected = Reference();
  };
  Pixels twoColours = Reference();
  for (int32_t i = 0; i < W * H; ++i) {
    twoColours[i] = IndexAt(i % W, i / W) % 2 ? 0xFFFFFF : 0x000000;
  }
  const std::vector<Case> cases = {
      {"24-bit", BitmapFile(W, H, 24, 0, {}, Rows(24))},
      {"32-bit top-down", BitmapFile(W, -H, 32, 0, {}, Rows(32, true))},
      {"8-bit palette", BitmapFile(W, H, 8, 0, ColourTable(), Rows(8))},
      {"4-bit palette", BitmapFile(W, H, 4, 0, ColourTable(), Rows(4))},
      {"1-bit palette", BitmapFile(W, H, 1, 0, {0x000000, 0xFFFFFF}, Rows(1)), twoColours},
      {"16-bit 5-5-5", BitmapFile(W, H, 16, 0, {}, Rows(15))},
      {"16-bit 5-6-5 bit fields", BitmapFile(W, H, 16, 3, {0xF800, 0x07E0, 0x001F}, Rows(16))},
      {"32-bit bit fields", BitmapFile(W, H, 32, 3, {0xFF0000, 0xFF00, 0xFF}, Rows(32))},
      {"OS/2 core header", BitmapFile(W, H, 8, 0, ColourTable(), Rows(8), 12)},
      {"V5 header", BitmapFile(W, H, 24, 0, {}, Rows(24), 124)},
      // RLE8: a run of two, an absolute run of three, end of line, ...
      // RLE8: a run, end of line, an absolute run of three padded to a
      // 16-bit boundary, a run, end of line, a move right, a run, end.
      {"RLE8",
       BitmapFile(W, H, 8, 1, ColourTable(),
                  std::string("\x05\x06\x00\x00", 4) + std::string("\x00\x03\x01\x02\x03\x00", 6) +
                      std::string("\x02\x04\x00\x00", 4) + std::string("\x00\x02\x01\x00", 4) +
                      std::string("\x04\x01\x00\x01", 4)),
       {0x000000, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000,  // top row, the last
        0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFFFF00,  //
        0xFF00FF, 0xFF00FF, 0xFF00FF, 0xFF00FF, 0xFF00FF}},
      {"RLE4",
       BitmapFile(W, H, 4, 2, ColourTable(),
                  std::string("\x05\x12\x00\x00", 4) + std::string("\x00\x05\x34\x56\x70\x00", 6) +
                      std::string("\x00\x00\x02\x77\x00\x01", 6)),
       {0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF,
        0xFFFFFF, 0xFF0000, 0x00FF00, 0xFF0000, 0x00FF00, 0xFF0000}},
  };
  for (const Case& c : cases) {
    Picture picture;
    ASSERT_EQ(Decode(c.file, picture), PictureError::None) << c.name;
    EXPECT_EQ(picture.width, W) << c.name;
    EXPECT_EQ(picture.height, H) << c.name;
    EXPECT_EQ(picture.stored.width, W) << c.name;
    EXPECT_EQ(PixelsOf(picture), c.expected) << c.name;
  }
}

TEST(PictureBitmap, DamagedOrUnusualFilesAreRefusedWithoutTakingMemory) {
  const std::string good = BitmapFile(W, H, 24, 0, {}, Rows(24));
  Picture picture;
  EXPECT_EQ(Decode(good.substr(0, good.size() - 20), picture), PictureError::Damaged);
  EXPECT_EQ(picture.pixels, nullptr);
  EXPECT_EQ(picture.width, 0);
  EXPECT_EQ(Decode(good.substr(0, 20), picture), PictureError::Damaged);
  // The last row may lack its padding.
  EXPECT_EQ(Decode(good.substr(0, good.size() - 1), picture), PictureError::None);

  // Dimensions claiming gigabytes from a few bytes.
  EXPECT_EQ(Decode(BitmapFile(100000, 100000, 24, 0, {}, "abc"), picture), PictureError::TooLarge);
  EXPECT_EQ(Decode(BitmapFile(2000, 2000, 24, 0, {}, "abc"), picture), PictureError::Damaged);
  EXPECT_EQ(Decode(BitmapFile(0x7FFFFFFF, -0x7FFFFFFF, 32, 0, {}, ""), picture),
            PictureError::TooLarge);
  DecodeOptions small;
  small.maxPixels = W * H - 1;
  EXPECT_EQ(Decode(good, picture, small), PictureError::TooLarge);

  EXPECT_EQ(Decode(BitmapFile(W, H, 7, 0, {}, Rows(8)), picture), PictureError::Unsupported);
  EXPECT_EQ(Decode(BitmapFile(W, H, 24, 5, {}, "\x89PNG"), picture), PictureError::Unsupported);
  EXPECT_EQ(Decode(BitmapFile(W, H, 24, 0, {}, Rows(24), 20), picture), PictureError::Unsupported);
  // Run-length data that stops before the picture is complete.
  EXPECT_EQ(
      Decode(BitmapFile(W, H, 8, 1, ColourTable(), std::string("\x05\x06\x00\x00", 4)), picture),
      PictureError::Damaged);

  // A bitmap without pixels would be an all-black wallpaper.
  EXPECT_EQ(Decode(BitmapFile(0, 4, 24, 0, {}, ""), picture), PictureError::Damaged);
  EXPECT_EQ(Decode(BitmapFile(4, 0, 24, 0, {}, ""), picture), PictureError::Damaged);
}

// ---- Icons ----

using testing::picture_bytes::Icon;
using testing::picture_bytes::IconImageShape;

IconImageShape Image(int32_t size, uint16_t bits, uint32_t colour, bool masked = false) {
  IconImageShape image{size, size, bits};
  image.colour = colour;
  image.masked = masked;
  return image;
}

// The image measured is the image drawn: the largest, of those the deepest,
// wherever it stands in the file.
TEST(PictureIcon, TheDeepestOfTheLargestImagesIsDrawn) {
  constexpr uint32_t Green = 0xFF00C000;
  for (const auto& images :
       {std::vector<IconImageShape>{Image(32, 4, 0x800000), Image(32, 32, Green),
                                    Image(16, 32, 0xFF0000FF)},
        std::vector<IconImageShape>{Image(48, 8, 0x800000), Image(48, 24, Green & 0xFFFFFF)}}) {
    const auto bytes = Icon(images);
    Picture picture;
    ASSERT_EQ(Decode(bytes, picture), PictureError::None);
    const PictureHeaderResult measured = ExaminePicture(bytes);
    EXPECT_EQ(picture.width, measured.header.width);
    EXPECT_EQ(picture.height, measured.header.height);
    EXPECT_EQ(PixelsOf(picture),
              Pixels(static_cast<std::size_t>(picture.width) * picture.height, Green & 0xFFFFFF));
  }
}

// Drawn on white: where the mask is set, the white shows through a black
// pixel; a 32-bit image with alpha is blended by it.
TEST(PictureIcon, TransparencyIsDrawnOnWhite) {
  struct Case {
    IconImageShape image;
    uint32_t expected;
  };
  for (const Case& c :
       {Case{Image(16, 24, 0x000000, true), 0xFFFFFF}, Case{Image(16, 8, 0x102030, true), 0xEFDFCF},
        Case{Image(16, 24, 0x102030), 0x102030},
        Case{Image(16, 32, 0x000000FF), 0x0000FF},  // no alpha: the mask
        Case{Image(16, 32, 0x00000000, true), 0xFFFFFF}, Case{Image(16, 32, 0x800000FF), 0x7F7FFF},
        Case{Image(16, 32, 0xFF0080FF), 0x0080FF}}) {
    Picture picture;
    ASSERT_EQ(Decode(Icon({c.image}), picture), PictureError::None);
    EXPECT_EQ(PixelsOf(picture)[17], c.expected) << std::hex << c.image.colour;
  }
}

}  // namespace
}  // namespace seltane
