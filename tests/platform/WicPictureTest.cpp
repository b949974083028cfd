// PNG, GIF and TIFF decoded through the system's imaging component, as Wine
// has it, and what happens where the component is missing.
#include "platform/WicPicture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Files.h"
#include "platform/Picture.h"
#include "platform/TextConversion.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/PicturePixels.h"
#include "tests/support/TempFolder.h"

namespace seltane {
namespace {

namespace bytes = testing::picture_bytes;
using testing::PixelsOf;

constexpr uint32_t Black = 0x000000, Red = 0xE00000, Green = 0x00C000, Blue = 0x0000E0;
// Blue at half opacity, over black.
constexpr uint32_t HalfBlue = 0x000070;

// Width x height RGBA: the left half red, the right half blue at half
// opacity, the top right pixel clear.
bytes::Bytes HalvesPng(uint32_t width, uint32_t height) {
  return bytes::Png({width, height}, [=](uint32_t x, uint32_t y, uint8_t* rgba) {
    const bool left = x < width / 2;
    rgba[0] = left ? 0xE0 : 0;
    rgba[1] = 0;
    rgba[2] = left ? 0 : 0xE0;
    rgba[3] = left ? 255 : x == width - 1 && y == 0 ? 0 : 128;
  });
}

// A 30 x 20 screen whose first image, 10 x 8 at (5, 4), is red on its left
// half and green on its right, its last pixel transparent.
bytes::Bytes OffsetGif() {
  bytes::GifShape shape{30, 20};
  shape.frameLeft = 5;
  shape.frameTop = 4;
  shape.frameWidth = 10;
  shape.frameHeight = 8;
  shape.palette = {Red, Green, Blue};
  shape.transparent = 2;
  shape.fill = [](int x, int y) -> uint8_t { return x == 9 && y == 7 ? 2 : x < 5 ? 0 : 1; };
  return bytes::Gif(shape);
}

std::wstring WriteTemporary(const testing::TempFolder& folder, const std::string& name,
                            const bytes::Bytes& file) {
  std::string error;
  EXPECT_TRUE(WriteFileReplacing(folder / name, std::string(file.begin(), file.end()), error));
  return WidenFromAnsi(folder / name);
}

bool Near(uint32_t actual, uint32_t expected) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>(actual >> shift & 0xFF) -
                 static_cast<int>(expected >> shift & 0xFF)) > 2) {
      return false;
    }
  }
  return true;
}

TEST(ImagingComponent, EachFormatDecodesFromItsFileAndFromMemory) {
  bytes::TiffShape tiff{24, 16};
  tiff.fill = [](uint32_t, uint32_t y, uint8_t* rgb) {
    rgb[0] = y < 8 ? 0xFF : 0;  // yellow above, cyan below
    rgb[1] = 0xFF;
    rgb[2] = y < 8 ? 0 : 0xFF;
  };
  using Pixel = std::tuple<int, int, uint32_t>;
  struct Case {
    const char* name;
    bytes::Bytes file;
    int width;
    int height;
    std::vector<Pixel> pixels;
  };
  const Case cases[] = {
      {"png",
       HalvesPng(40, 20),
       40,
       20,
       {{0, 0, Red}, {19, 19, Red}, {20, 5, HalfBlue}, {39, 0, Black}}},
      {"gif",
       OffsetGif(),
       30,
       20,
       {{0, 0, Black},
        {4, 4, Black},
        {5, 4, Red},
        {10, 11, Green},
        {14, 11, Black},
        {15, 4, Black}}},
      {"tiff", bytes::Tiff(tiff), 24, 16, {{0, 0, 0xFFFF00}, {23, 7, 0xFFFF00}, {0, 8, 0x00FFFF}}},
  };
  testing::TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring path = WriteTemporary(folder, c.name, c.file);
    const std::optional<PictureSize> measured = MeasurePictureFile(path);
    ASSERT_TRUE(measured.has_value());
    EXPECT_EQ(measured->width, c.width);
    EXPECT_EQ(measured->height, c.height);
    Picture fromFile;
    Picture fromMemory;
    ASSERT_EQ(DecodePictureFile(path, {}, fromFile), PictureError::None);
    ASSERT_EQ(DecodePicture(c.file.data(), c.file.size(), {}, fromMemory), PictureError::None);
    ASSERT_EQ(fromFile.width, c.width);
    ASSERT_EQ(fromFile.height, c.height);
    const testing::Pixels pixels = PixelsOf(fromFile);
    EXPECT_EQ(PixelsOf(fromMemory), pixels);
    for (const auto& [x, y, colour] : c.pixels) {
      EXPECT_TRUE(Near(pixels[static_cast<std::size_t>(y * c.width + x)], colour))
          << x << "," << y << ": " << std::hex << pixels[static_cast<std::size_t>(y * c.width + x)];
    }
  }
}

TEST(ImagingComponent, LargePicturesAreDecodedReducedOrInPartUnderTheSameLimits) {
  const bytes::Bytes png = HalvesPng(400, 200);
  DecodeOptions options;
  options.maxPixels = 400 * 200 - 1;
  Picture picture;
  EXPECT_EQ(DecodePicture(png.data(), png.size(), options, picture), PictureError::TooLarge);

  // Reduced by eighths as a JPEG is: 2/8 is the least that covers 100 x 30.
  options.drawnSize = [](PictureSize) { return PictureSize{100, 30}; };
  int32_t rowsShown = 0;
  options.rowsDecoded = [&](const Picture&, int32_t rows) { rowsShown = rows; };
  ASSERT_EQ(DecodePicture(png.data(), png.size(), options, picture), PictureError::None);
  EXPECT_EQ(picture.width, 100);
  EXPECT_EQ(picture.height, 50);
  EXPECT_EQ(rowsShown, 50);
  EXPECT_TRUE(Near(PixelsOf(picture)[10 * 100 + 10], Red));
  EXPECT_TRUE(Near(PixelsOf(picture)[40 * 100 + 80], HalfBlue));

  // Drawn at its own size, only the part shown, kept within the picture.
  options.drawnSize = nullptr;
  options.shownPart = [](PictureSize) { return PicturePart{380, 10, 40, 10}; };
  ASSERT_EQ(DecodePicture(png.data(), png.size(), options, picture), PictureError::None);
  EXPECT_EQ(picture.part, (PicturePart{380, 10, 20, 10}));
  EXPECT_EQ(PixelsOf(picture), testing::Pixels(20 * 10, HalfBlue));

  // A GIF's first image keeps its place in a reduced screen.
  options = {};
  options.drawnSize = [](PictureSize) { return PictureSize{1, 1}; };
  bytes::GifShape half{80, 40};
  half.frameLeft = 40;
  half.frameWidth = 40;
  half.palette = {Red};
  const bytes::Bytes gif = bytes::Gif(half);
  ASSERT_EQ(DecodePicture(gif.data(), gif.size(), options, picture), PictureError::None);
  EXPECT_EQ(picture.width, 10);
  EXPECT_EQ(PixelsOf(picture)[2 * 10 + 2], Black);
  EXPECT_EQ(PixelsOf(picture)[2 * 10 + 7], Red);
}

// Run by the test command with the component switched off in Wine
// (SELTANE_NO_IMAGING_COMPONENT set); skipped otherwise.
TEST(ImagingComponentMissing, ItsPicturesAreNeitherAddedNorShownAndNothingFails) {
  if (std::getenv("SELTANE_NO_IMAGING_COMPONENT") == nullptr) {
    GTEST_SKIP() << "the imaging component is there";
  }
  testing::TempFolder folder;
  const std::wstring png = WriteTemporary(folder, "a.png", HalvesPng(8, 8));
  const std::wstring bitmap = WriteTemporary(folder, "b.bmp", bytes::Bitmap({40, 8, 8}));
  EXPECT_FALSE(ImagingComponentDecodes(PictureFormat::Png));
  EXPECT_FALSE(MeasurePictureFile(png).has_value());
  Picture picture;
  EXPECT_EQ(DecodePictureFile(png, {}, picture), PictureError::NoDecoder);
  EXPECT_EQ(picture.pixels, nullptr);
  EXPECT_TRUE(MeasurePictureFile(bitmap).has_value());
  EXPECT_EQ(DecodePictureFile(bitmap, {}, picture), PictureError::None);
}

}  // namespace
}  // namespace seltane
