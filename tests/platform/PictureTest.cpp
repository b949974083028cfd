#include "platform/Picture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "platform/TextConversion.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestJpeg.h"

namespace seltane {
namespace {

using testing::EncodeJpeg;
using testing::JpegSettings;
using testing::TempFolder;

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

// Pixels as 0xRRGGBB, row by row, top first.
using Pixels = std::vector<uint32_t>;

Pixels PixelsOf(const Picture& picture) {
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

PictureError Decode(const std::string& bytes, Picture& picture, const DecodeOptions& options = {}) {
  return DecodePicture(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), options,
                       picture);
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

  // A bitmap without pixels is a valid, empty picture.
  ASSERT_EQ(Decode(BitmapFile(0, 4, 24, 0, {}, ""), picture), PictureError::None);
  EXPECT_EQ(picture.width, 0);
  EXPECT_EQ(picture.stored.height, 4);
}

// Two colour halves, left red and right blue, as a JPEG of width x height.
std::string HalvesJpeg(int width, int height, JpegSettings settings = {}) {
  return EncodeJpeg(width, height, settings, [&](int x, int, uint8_t* rgb) {
    rgb[0] = x < width / 2 ? 220 : 0;
    rgb[1] = 0;
    rgb[2] = x < width / 2 ? 0 : 220;
  });
}

bool Near(uint32_t actual, uint32_t expected, int tolerance = 12) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>(actual >> shift & 0xFF) -
                 static_cast<int>(expected >> shift & 0xFF)) > tolerance) {
      return false;
    }
  }
  return true;
}

TEST(PictureJpeg, ColourGreyAndCmykFilesDecodeToBgra) {
  for (bool progressive : {false, true}) {
    JpegSettings settings;
    settings.progressive = progressive;
    Picture picture;
    ASSERT_EQ(Decode(HalvesJpeg(64, 48, settings), picture), PictureError::None);
    ASSERT_EQ(picture.width, 64);
    ASSERT_EQ(picture.height, 48);
    const Pixels pixels = PixelsOf(picture);
    EXPECT_TRUE(Near(pixels[10 * 64 + 5], 0xDC0000)) << std::hex << pixels[10 * 64 + 5];
    EXPECT_TRUE(Near(pixels[40 * 64 + 60], 0x0000DC)) << std::hex << pixels[40 * 64 + 60];
  }

  JpegSettings grey;
  grey.colourSpace = JCS_GRAYSCALE;
  Picture picture;
  ASSERT_EQ(Decode(EncodeJpeg(16, 16, grey, [](int, int, uint8_t* v) { v[0] = 100; }), picture),
            PictureError::None);
  EXPECT_TRUE(Near(PixelsOf(picture)[0], 0x646464, 2));

  // Adobe's CMYK files store the inks inverted: no cyan, full magenta and
  // yellow, no black is red.
  JpegSettings cmyk;
  cmyk.colourSpace = JCS_CMYK;
  ASSERT_EQ(Decode(EncodeJpeg(16, 16, cmyk,
                              [](int, int, uint8_t* v) {
                                v[0] = 255;
                                v[1] = 0;
                                v[2] = 0;
                                v[3] = 255;
                              }),
                   picture),
            PictureError::None);
  EXPECT_TRUE(Near(PixelsOf(picture)[0], 0xFF0000, 4)) << std::hex << PixelsOf(picture)[0];
}

TEST(PictureJpeg, LargePictureIsReducedWhileDecodingButNeverBelowTheDrawnSize) {
  const std::string jpeg = HalvesJpeg(400, 300);
  DecodeOptions options;
  PictureSize asked;
  options.drawnSize = [&](PictureSize stored) {
    asked = stored;
    return PictureSize{100, 60};
  };
  Picture picture;
  ASSERT_EQ(Decode(jpeg, picture, options), PictureError::None);
  EXPECT_EQ(asked.width, 400);
  EXPECT_EQ(asked.height, 300);
  EXPECT_EQ(picture.stored.width, 400);
  EXPECT_EQ(picture.stored.height, 300);
  EXPECT_EQ(picture.width, 100);  // 2/8: 1/8 would be only 50 wide
  EXPECT_EQ(picture.height, 75);
  EXPECT_TRUE(Near(PixelsOf(picture)[10 * 100 + 10], 0xDC0000));

  // A reduction below the limit makes a picture too large at full size
  // acceptable; larger than drawn never means enlarged.
  options.maxPixels = 400 * 300 - 1;
  options.drawnSize = [](PictureSize) { return PictureSize{1000, 1000}; };
  EXPECT_EQ(Decode(jpeg, picture, options), PictureError::TooLarge);
  options.drawnSize = [](PictureSize) { return PictureSize{340, 10}; };
  ASSERT_EQ(Decode(jpeg, picture, options), PictureError::None);
  EXPECT_EQ(picture.width, 350);
}

// Overwrites the picture size in a JPEG's frame header.
std::string WithClaimedSize(std::string jpeg, uint16_t width, uint16_t height) {
  for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
    const uint8_t marker = static_cast<uint8_t>(jpeg[i + 1]);
    if (static_cast<uint8_t>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
      jpeg[i + 5] = static_cast<char>(height >> 8);
      jpeg[i + 6] = static_cast<char>(height & 0xFF);
      jpeg[i + 7] = static_cast<char>(width >> 8);
      jpeg[i + 8] = static_cast<char>(width & 0xFF);
      return jpeg;
    }
  }
  ADD_FAILURE() << "no frame header";
  return jpeg;
}

TEST(PictureJpeg, RowsAreHandedOutAsTheyDecode) {
  const std::string jpeg = HalvesJpeg(64, 100);
  DecodeOptions options;
  std::vector<int32_t> progress;
  options.rowsDecoded = [&](const Picture& partial, int32_t rows) {
    EXPECT_EQ(partial.width, 64);
    EXPECT_NE(partial.pixels, nullptr);
    progress.push_back(rows);
  };
  Picture picture;
  ASSERT_EQ(
      DecodePicture(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size(), options, picture),
      PictureError::None);
  ASSERT_FALSE(progress.empty());
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  EXPECT_EQ(progress.back(), 100);
}

TEST(PictureJpeg, DamagedAndHostileFilesAreRefused) {
  for (bool progressive : {false, true}) {
    JpegSettings settings;
    settings.progressive = progressive;
    const std::string jpeg = HalvesJpeg(256, 256, settings);
    Picture picture;
    for (std::size_t keep :
         {jpeg.size() * 3 / 4, jpeg.size() / 2, std::size_t{200}, std::size_t{3}}) {
      EXPECT_EQ(Decode(jpeg.substr(0, keep), picture), PictureError::Damaged)
          << progressive << " " << keep;
      EXPECT_EQ(picture.pixels, nullptr);
    }
    // A one-scan file whose only fault is a missing end marker still shows;
    // in a progressive file that cannot be told from a cut after a scan.
    EXPECT_EQ(Decode(jpeg.substr(0, jpeg.size() - 2), picture),
              progressive ? PictureError::Damaged : PictureError::None);

    // Huge sizes claimed by a small file: refused at full size. Reduced, the
    // data runs out early, or (progressive) libjpeg's whole-picture buffers
    // would pass their bound and are never taken.
    DecodeOptions reduced;
    reduced.drawnSize = [](PictureSize) { return PictureSize{64, 64}; };
    const std::string huge = WithClaimedSize(jpeg, 65535, 65535);
    EXPECT_EQ(Decode(huge, picture), PictureError::TooLarge);
    EXPECT_EQ(Decode(huge, picture, reduced), PictureError::TooLarge);
    const PictureError error = Decode(WithClaimedSize(jpeg, 30000, 30000), picture, reduced);
    EXPECT_EQ(error, progressive ? PictureError::TooLarge : PictureError::Damaged)
        << PictureErrorText(error);
  }

  // Hundreds of scans, each a pass over the whole picture.
  JpegSettings manyScans;
  manyScans.colourSpace = JCS_GRAYSCALE;
  manyScans.manyScans = true;
  Picture picture;
  EXPECT_EQ(Decode(EncodeJpeg(16, 16, manyScans, [](int, int, uint8_t* v) { v[0] = 9; }), picture),
            PictureError::Damaged);
}

TEST(PictureFile, FormatComesFromTheContentAndFailuresSayWhy) {
  TempFolder folder;
  auto write = [&](const std::wstring& name, const std::string& bytes) {
    const std::wstring path = WidenFromAnsi(folder.Path()) + L"\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
  };
  Picture picture;
  // A JPEG named .bmp and a bitmap named .jpg, one with a name outside the
  // ANSI code page.
  EXPECT_EQ(DecodePictureFile(write(L"photo.bmp", HalvesJpeg(32, 16)), {}, picture),
            PictureError::None);
  EXPECT_EQ(picture.width, 32);
  EXPECT_EQ(DecodePictureFile(write(L"\u0444\u043e\u0442\u043e \u263a.jpg",
                                    BitmapFile(W, H, 24, 0, {}, Rows(24))),
                              {}, picture),
            PictureError::None);
  EXPECT_EQ(PixelsOf(picture), Reference());

  EXPECT_EQ(DecodePictureFile(write(L"notes.jpg", "just some text"), {}, picture),
            PictureError::NotAPicture);
  EXPECT_EQ(DecodePictureFile(write(L"empty.bmp", ""), {}, picture), PictureError::NotAPicture);
  EXPECT_EQ(DecodePictureFile(WidenFromAnsi(folder / "missing.jpg"), {}, picture),
            PictureError::CannotOpen);
  EXPECT_EQ(DecodePictureFile(WidenFromAnsi(folder.Path()), {}, picture), PictureError::CannotOpen);
  EXPECT_EQ(picture.pixels, nullptr);
}

}  // namespace
}  // namespace seltane
