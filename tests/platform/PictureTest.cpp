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

#include "platform/Files.h"
#include "platform/TextConversion.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/PicturePixels.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestJpeg.h"
#include "tests/support/TestPictures.h"

namespace seltane {
namespace {

using testing::EncodeJpeg;
using testing::JpegSettings;
using testing::TempFolder;

using testing::Pixels;
using testing::PixelsOf;

PictureError Decode(const std::string& bytes, Picture& picture, const DecodeOptions& options = {}) {
  return DecodePicture(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), options,
                       picture);
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

// A picture whose every pixel differs from its neighbours.
std::string GradientJpeg(int width, int height, JpegSettings settings = {}) {
  return EncodeJpeg(width, height, settings, [](int x, int y, uint8_t* rgb) {
    rgb[0] = static_cast<uint8_t>(x * 3);
    rgb[1] = static_cast<uint8_t>(y * 5);
    rgb[2] = static_cast<uint8_t>((x + y) * 2);
  });
}

// Drawn at its own size, a picture larger than the screen shows only a part:
// only that part is decoded, with the pixels a whole decode has there, so a
// picture over the pixel limit is still shown centred or tiled.
TEST(PictureJpeg, OnlyTheShownPartIsDecodedAtFullSize) {
  for (bool progressive : {false, true}) {
    JpegSettings settings;
    settings.progressive = progressive;
    const std::string jpeg = GradientJpeg(200, 120, settings);
    Picture whole;
    ASSERT_EQ(Decode(jpeg, whole), PictureError::None);
    const Pixels all = PixelsOf(whole);

    const PicturePart part{37, 21, 90, 50};
    DecodeOptions options;
    options.maxPixels = 90 * 50;
    options.shownPart = [&](PictureSize) { return part; };
    Picture picture;
    ASSERT_EQ(Decode(jpeg, picture, options), PictureError::None) << progressive;
    EXPECT_EQ(picture.part, part);
    ASSERT_EQ(picture.width, 90);
    ASSERT_EQ(picture.height, 50);
    const Pixels cut = PixelsOf(picture);
    for (int32_t y = 0; y < part.height; ++y) {
      for (int32_t x = 0; x < part.width; ++x) {
        ASSERT_EQ(cut[y * 90 + x], all[(y + part.top) * 200 + x + part.left])
            << progressive << " at " << x << "," << y;
      }
    }

    // Reduced, the whole picture is decoded: scaling reads all of it.
    options.maxPixels = DefaultMaxPicturePixels;
    options.drawnSize = [](PictureSize) { return PictureSize{50, 30}; };
    ASSERT_EQ(Decode(jpeg, picture, options), PictureError::None);
    EXPECT_TRUE(picture.Whole());
    EXPECT_EQ(picture.width, 50);
  }
}

TEST(PictureFile, JpegWithMegabytesOfMetadataIsMeasuredAndShown) {
  TempFolder folder;
  const std::wstring path = WidenFromAnsi(folder / "edited.jpg");
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(NarrowToAnsi(path), testing::WithMetadata(HalvesJpeg(64, 48), 128),
                                 error));
  const std::optional<PictureSize> size = MeasurePictureFile(path);
  ASSERT_TRUE(size.has_value());
  EXPECT_EQ(size->width, 64);
  EXPECT_EQ(size->height, 48);
  Picture picture;
  ASSERT_EQ(DecodePictureFile(path, {}, picture), PictureError::None);
  EXPECT_EQ(picture.width, 64);
  EXPECT_TRUE(Near(PixelsOf(picture)[10 * 64 + 60], 0x0000DC));
}

// A file that is measured when it is added can be shown, and one that
// cannot be shown is refused when it is added.
TEST(PictureFile, WhatIsMeasuredIsWhatIsShown) {
  namespace bytes = testing::picture_bytes;
  const std::string jpeg = HalvesJpeg(32, 16);
  auto patched = [&](uint8_t marker, std::size_t at, uint8_t value) {
    std::string changed = jpeg;
    const std::size_t frame = changed.find(std::string{'\xFF', static_cast<char>(0xC0)});
    changed[frame + 1] = static_cast<char>(marker);
    changed[frame + at] = static_cast<char>(value);
    return changed;
  };
  auto text = [](const bytes::Bytes& b) { return std::string(b.begin(), b.end()); };
  JpegSettings progressive;
  progressive.progressive = true;
  bytes::Bytes damagedPng = bytes::Png({7, 5, 0}, [](uint32_t, uint32_t, uint8_t*) {});
  damagedPng[29] ^= 0x80;  // the header's CRC
  bytes::TiffShape separatePlanes{7, 5};
  separatePlanes.planar = 2;
  struct Case {
    const char* name;
    std::string file;
    bool shown;
  };
  const Case cases[] = {
      {"baseline", jpeg, true},
      {"progressive", HalvesJpeg(32, 16, progressive), true},
      {"12-bit", patched(0xC0, 4, 12), false},
      {"lossless", patched(0xC3, 4, 8), false},
      {"65501 wide", WithClaimedSize(jpeg, 65501, 16), false},
      {"bitmap", text(bytes::Bitmap({40, 7, 5})), true},
      {"top-down run lengths", text(bytes::Bitmap({40, 7, -5, 8, 1})), false},
      {"no pixels", text(bytes::Bitmap({40, 0, 5})), false},
      {"over the pixel limit", text(bytes::Bitmap({40, 9000, 8000})), false},
      {"icon", text(bytes::Icon({{16, 16, 4}, {16, 16, 32}})), true},
      {"icon of PNG images", text(bytes::Icon({{256, 256, 32, true}})), false},
      {"png", text(bytes::Png({7, 5, 0}, [](uint32_t, uint32_t, uint8_t* grey) { *grey = 9; })),
       true},
      {"png with a damaged header", text(damagedPng), false},
      {"gif", text(bytes::Gif({7, 5})), true},
      {"tiff", text(bytes::Tiff({7, 5})), true},
      {"tiff of separate planes", text(bytes::Tiff(separatePlanes)), false},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    const std::string path = folder / "picture";
    std::string error;
    ASSERT_TRUE(WriteFileReplacing(path, c.file, error));
    Picture picture;
    const PictureError decoded = DecodePictureFile(WidenFromAnsi(path), {}, picture);
    EXPECT_EQ(MeasurePictureFile(WidenFromAnsi(path)).has_value(), c.shown) << c.name;
    EXPECT_EQ(decoded == PictureError::None, c.shown)
        << c.name << ": " << PictureErrorText(decoded);
  }
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
  EXPECT_EQ(DecodePictureFile(
                write(L"\u0444\u043e\u0442\u043e \u263a.jpg", testing::BitmapBytes(5, 3, 0x123456)),
                {}, picture),
            PictureError::None);
  EXPECT_EQ(PixelsOf(picture), Pixels(15, 0x123456));

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
