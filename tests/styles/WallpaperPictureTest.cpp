#include "styles/WallpaperPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace seltane {
namespace {

constexpr int32_t ScreenWidth = 1024, ScreenHeight = 768;

// The colour of a stored picture's pixel: its coordinates (y below 256), so
// that a drawn pixel tells where in the picture it came from.
uint32_t StoredColour(int32_t x, int32_t y) {
  return (0x80u | static_cast<uint32_t>(x >> 8 & 0x7F)) << 16 |
         static_cast<uint32_t>(x & 0xFF) << 8 | static_cast<uint32_t>(y & 0xFF);
}

// Decodes a picture of the stored size as a JPEG decoder would with the
// options: reduced to the size it is drawn at, or, at its own size, only
// the part shown (reduced pictures are one colour).
Picture Decode(PictureSize stored, const DecodeOptions& options) {
  Picture picture;
  picture.stored = stored;
  const PictureSize drawn = options.drawnSize(stored);
  picture.part = {0, 0, stored.width, stored.height};
  picture.width = std::min(drawn.width, stored.width);
  picture.height = std::min(drawn.height, stored.height);
  const bool reduced = picture.width < stored.width || picture.height < stored.height;
  if (!reduced) {
    picture.part = options.shownPart(stored);
    picture.width = picture.part.width;
    picture.height = picture.part.height;
  }
  picture.pixels.reset(new uint8_t[static_cast<std::size_t>(picture.width) * picture.height * 4]);
  for (int32_t y = 0; y < picture.height; ++y) {
    for (int32_t x = 0; x < picture.width; ++x) {
      const uint32_t colour =
          reduced ? 0x336699 : StoredColour(picture.part.left + x, picture.part.top + y);
      uint8_t* pixel = &picture.pixels[(static_cast<std::size_t>(y) * picture.width + x) * 4];
      pixel[0] = colour & 0xFF;
      pixel[1] = colour >> 8 & 0xFF;
      pixel[2] = colour >> 16 & 0xFF;
      pixel[3] = 255;
    }
  }
  return picture;
}

struct Screen {
  std::vector<uint32_t> pixels = std::vector<uint32_t>(ScreenWidth * ScreenHeight, 0);
  MutablePixels Canvas() {
    return {reinterpret_cast<uint8_t*>(pixels.data()), ScreenWidth, ScreenHeight, ScreenWidth * 4};
  }
  uint32_t At(int32_t x, int32_t y) const { return pixels[y * ScreenWidth + x] & 0xFFFFFF; }
  // The smallest rectangle holding every pixel drawn (not black).
  PixelRect Drawn() const {
    PixelRect drawn{ScreenWidth, ScreenHeight, 0, 0};
    for (int32_t y = 0; y < ScreenHeight; ++y) {
      for (int32_t x = 0; x < ScreenWidth; ++x) {
        if (At(x, y) != 0) {
          drawn = {std::min(drawn.left, x), std::min(drawn.top, y), std::max(drawn.right, x + 1),
                   std::max(drawn.bottom, y + 1)};
        }
      }
    }
    return drawn;
  }
};

TEST(WallpaperPicture, EachStyleDecodesOnlyWhatItShowsAndDrawsItWhereTheWallpaperHasIt) {
  struct Case {
    PictureSize stored;
    uint8_t style;
    PixelRect drawn;
  };
  const Case cases[] = {
      {{800, 600}, wsFitScreen, {112, 84, 912, 684}},  // never enlarged
      {{2048, 1024}, wsFitWidth, {0, 128, 1024, 640}},
      {{1000, 2000}, wsFitHeight, {320, 0, 704, 768}},
      {{4000, 3000}, wsFitScreen, {0, 0, 1024, 768}},
      {{10, 10}, wsStretch, {0, 0, 1024, 768}},
      {{4000, 3000}, wsCenter, {0, 0, 1024, 768}},
      {{300, 200}, wsTile, {0, 0, 1024, 768}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.stored.width << "x" << c.stored.height << " style " << int{c.style});
    const Picture picture =
        Decode(c.stored, WallpaperDecodeOptions({ScreenWidth, ScreenHeight}, c.style));
    Screen screen;
    DrawWallpaperPicture(picture, c.style, screen.Canvas());
    EXPECT_EQ(screen.Drawn(), c.drawn);
  }

  // Centred, a large picture is decoded only where it is on the screen, and
  // each of its pixels lands where the whole picture's would.
  const DecodeOptions centred = WallpaperDecodeOptions({ScreenWidth, ScreenHeight}, wsCenter);
  const Picture middle = Decode({4000, 3000}, centred);
  EXPECT_EQ(middle.part, (PicturePart{1488, 1116, 1024, 768}));
  Screen screen;
  DrawWallpaperPicture(middle, wsCenter, screen.Canvas());
  EXPECT_EQ(screen.At(0, 0), StoredColour(1488, 1116));
  EXPECT_EQ(screen.At(1023, 767), StoredColour(1488 + 1023, 1116 + 767));
  EXPECT_NE(screen.At(1, 0), screen.At(0, 0));

  // Tiled from the top-left corner: 4 columns and 4 rows, the last cut.
  Screen tiled;
  DrawWallpaperPicture(Decode({300, 200}, WallpaperDecodeOptions({1024, 768}, wsTile)), wsTile,
                       tiled.Canvas());
  int corners = 0;
  for (int32_t y = 0; y < ScreenHeight; ++y) {
    for (int32_t x = 0; x < ScreenWidth; ++x) {
      corners += tiled.At(x, y) == StoredColour(0, 0) ? 1 : 0;
    }
  }
  EXPECT_EQ(corners, 16);
  EXPECT_EQ(tiled.At(900, 600), StoredColour(0, 0));
  EXPECT_EQ(tiled.At(1023, 767), StoredColour(123, 167));
}

}  // namespace
}  // namespace seltane
