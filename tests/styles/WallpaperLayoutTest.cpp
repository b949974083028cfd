#include "styles/WallpaperLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace seltane {
namespace {

constexpr uint8_t Stretch = 0, Center = 1, Tile = 2, FitWidth = 3, FitHeight = 4, FitScreen = 5;

PixelRect TargetOf(int32_t w, int32_t h, uint8_t style, int32_t screenW = 1024,
                   int32_t screenH = 768) {
  const WallpaperLayout layout = LayOutWallpaper(screenW, screenH, w, h, style);
  EXPECT_EQ(layout.kind, WallpaperLayout::Kind::Single);
  return layout.target;
}

TEST(WallpaperLayout, FitStylesShrinkToFitAndNeverEnlarge) {
  EXPECT_EQ(TargetOf(800, 600, FitScreen), (PixelRect{112, 84, 912, 684}));
  EXPECT_EQ(TargetOf(2048, 1024, FitWidth), (PixelRect{0, 128, 1024, 640}));
  EXPECT_EQ(TargetOf(1000, 1000, FitScreen), (PixelRect{128, 0, 896, 768}));
  EXPECT_EQ(TargetOf(2048, 1536, FitScreen), (PixelRect{0, 0, 1024, 768}));
  // Fitting one side lets the other run past the screen's edges.
  EXPECT_EQ(TargetOf(4000, 1000, FitHeight), (PixelRect{-1024, 0, 2048, 768}));
  EXPECT_EQ(TargetOf(500, 2000, FitWidth), (PixelRect{262, -616, 762, 1384}));
  // A small picture keeps its size in every fit style.
  for (uint8_t style : {FitWidth, FitHeight, FitScreen}) {
    EXPECT_EQ(TargetOf(400, 300, style), (PixelRect{312, 234, 712, 534}));
  }
}

TEST(WallpaperLayout, OffsetsRoundHalvesToEvenAndUnscaledPicturesKeepTheirSize) {
  // (1024 - 801) / 2 = 111.5 -> 112 and (768 - 601) / 2 = 83.5 -> 84;
  // (1024 - 803) / 2 = 110.5 -> 110 and (768 - 603) / 2 = 82.5 -> 82.
  EXPECT_EQ(TargetOf(801, 601, FitScreen), (PixelRect{112, 84, 913, 685}));
  EXPECT_EQ(TargetOf(803, 603, FitScreen), (PixelRect{110, 82, 913, 685}));
  EXPECT_EQ(TargetOf(3, 2, Center), (PixelRect{510, 383, 513, 385}));
  EXPECT_EQ(TargetOf(1023, 767, Center), (PixelRect{0, 0, 1023, 767}));
  EXPECT_EQ(TargetOf(1025, 767, FitHeight), (PixelRect{0, 0, 1025, 767}));
  // 3000 x 1001 fit width: 1024 x 341.67 high, y0 = 213.17 -> 213.
  EXPECT_EQ(TargetOf(3000, 1001, FitWidth), (PixelRect{0, 213, 1024, 555}));
}

TEST(WallpaperLayout, CenterKeepsTheSizeAndUnknownStylesCentre) {
  EXPECT_EQ(TargetOf(800, 600, Center), (PixelRect{112, 84, 912, 684}));
  EXPECT_EQ(TargetOf(100000, 100000, Center, 1920, 1080),
            (PixelRect{-49040, -49460, 50960, 50540}));
  for (uint8_t style : {6, 200, 255}) {
    EXPECT_EQ(LayOutWallpaper(1024, 768, 800, 600, style),
              LayOutWallpaper(1024, 768, 800, 600, Center));
  }
}

TEST(WallpaperLayout, StretchFillsTheScreen) {
  EXPECT_EQ(TargetOf(3, 7000, Stretch), (PixelRect{0, 0, 1024, 768}));
}

TEST(WallpaperLayout, TileCountsIncludeTheCutLastColumnAndRow) {
  WallpaperLayout layout = LayOutWallpaper(1024, 768, 300, 200, Tile);
  EXPECT_EQ(layout.kind, WallpaperLayout::Kind::Tiled);
  EXPECT_EQ(layout.tileWidth, 300);
  EXPECT_EQ(layout.tileHeight, 200);
  EXPECT_EQ(layout.columns, 4);
  EXPECT_EQ(layout.rows, 4);

  layout = LayOutWallpaper(1024, 768, 1, 1, Tile);
  EXPECT_EQ(layout.columns, 1025);
  EXPECT_EQ(layout.rows, 769);
  layout = LayOutWallpaper(1024, 768, 512, 5000, Tile);
  EXPECT_EQ(layout.columns, 3);
  EXPECT_EQ(layout.rows, 1);
  EXPECT_EQ(DrawnPictureSize(layout).width, 512);
  EXPECT_EQ(DrawnPictureSize(layout).height, 5000);
}

TEST(WallpaperLayout, EmptyPictureOrScreenDrawsNothing) {
  for (uint8_t style = 0; style <= 6; ++style) {
    EXPECT_EQ(LayOutWallpaper(1024, 768, 0, 600, style).kind, WallpaperLayout::Kind::Nothing);
    EXPECT_EQ(LayOutWallpaper(1024, 768, 600, 0, style).kind, WallpaperLayout::Kind::Nothing);
    EXPECT_EQ(LayOutWallpaper(1024, 768, -5, 600, style).kind, WallpaperLayout::Kind::Nothing);
    EXPECT_EQ(LayOutWallpaper(0, 768, 600, 600, style).kind, WallpaperLayout::Kind::Nothing);
  }
  // Shrunk to less than a pixel wide.
  EXPECT_EQ(LayOutWallpaper(1024, 768, 1, 100000, FitHeight).kind, WallpaperLayout::Kind::Nothing);
  EXPECT_EQ(DrawnPictureSize({}).width, 0);
}

// A BGRA image in memory for the drawing tests.
struct Image {
  int32_t width;
  int32_t height;
  std::vector<uint8_t> bytes;

  Image(int32_t w, int32_t h, uint32_t fill = 0)
      : width(w), height(h), bytes(static_cast<std::size_t>(w) * h * 4) {
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) {
        Set(x, y, fill);
      }
    }
  }
  // Pixels as 0xAARRGGBB.
  uint32_t At(int32_t x, int32_t y) const {
    const uint8_t* p = &bytes[(static_cast<std::size_t>(y) * width + x) * 4];
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
  }
  void Set(int32_t x, int32_t y, uint32_t value) {
    uint8_t* p = &bytes[(static_cast<std::size_t>(y) * width + x) * 4];
    p[0] = value & 0xFF;
    p[1] = value >> 8 & 0xFF;
    p[2] = value >> 16 & 0xFF;
    p[3] = value >> 24 & 0xFF;
  }
  ConstPixels View() const { return {bytes.data(), width, height, width * 4}; }
  MutablePixels Canvas() { return {bytes.data(), width, height, width * 4}; }
};

// A picture whose every pixel is different, and transparent, so that a copy
// shows where each pixel came from and that drawing made it opaque.
Image Numbered(int32_t w, int32_t h) {
  Image image(w, h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      image.Set(x, y, static_cast<uint32_t>(y << 8 | x));
    }
  }
  return image;
}

constexpr uint32_t Untouched = 0x12345678;

// A picture drawn at its own size is copied pixel for pixel, whatever the
// parity of screen minus picture, and cut at the canvas's edges.
TEST(DrawWallpaper, UnscaledPicturesAreCopiedPixelForPixel) {
  struct Case {
    int32_t width, height;
    uint8_t style;
    int32_t left, top;  // where the picture's corner lands
  };
  for (const Case& c :
       {Case{4, 2, Center, 3, 2}, Case{3, 3, Center, 4, 2}, Case{9, 5, FitScreen, 0, 0},
        Case{5, 1, FitWidth, 2, 2}, Case{30, 20, Center, -10, -7}, Case{31, 21, Center, -10, -8}}) {
    const Image picture = Numbered(c.width, c.height);
    Image canvas(10, 6, Untouched);
    DrawWallpaper(LayOutWallpaper(10, 6, c.width, c.height, c.style), picture.View(),
                  canvas.Canvas());
    for (int32_t y = 0; y < 6; ++y) {
      for (int32_t x = 0; x < 10; ++x) {
        const int32_t px = x - c.left;
        const int32_t py = y - c.top;
        const bool inside = px >= 0 && px < c.width && py >= 0 && py < c.height;
        ASSERT_EQ(canvas.At(x, y), inside ? 0xFF000000 | picture.At(px, py) : Untouched)
            << c.width << "x" << c.height << " at " << x << "," << y;
      }
    }
  }
}

// Decoding only the part a layout shows at the picture's own size, and
// drawing it with the part's layout, gives the same canvas as the whole;
// a scaled picture needs all of itself.
TEST(DrawWallpaper, TheShownPartAloneDrawsWhatTheWholePictureDraws) {
  struct Case {
    int32_t width, height;
    uint8_t style;
    PixelRect part;
  };
  for (const Case& c :
       {Case{31, 21, Center, {10, 8, 20, 14}}, Case{25, 3, FitHeight, {8, 0, 18, 3}},
        Case{4, 2, Center, {0, 0, 4, 2}}, Case{13, 9, Tile, {0, 0, 10, 6}},
        Case{3, 9, Tile, {0, 0, 3, 6}}, Case{40, 30, Stretch, {0, 0, 40, 30}},
        Case{40, 30, FitScreen, {0, 0, 40, 30}}}) {
    const Image picture = Numbered(c.width, c.height);
    const WallpaperLayout layout = LayOutWallpaper(10, 6, c.width, c.height, c.style);
    const PixelRect part = ShownPart(layout, 10, 6, c.width, c.height);
    ASSERT_EQ(part, c.part) << c.width << "x" << c.height;
    Image cut(part.Width(), part.Height());
    for (int32_t y = 0; y < part.Height(); ++y) {
      for (int32_t x = 0; x < part.Width(); ++x) {
        cut.Set(x, y, picture.At(part.left + x, part.top + y));
      }
    }
    Image whole(10, 6, Untouched);
    Image fromPart(10, 6, Untouched);
    DrawWallpaper(layout, picture.View(), whole.Canvas());
    const bool all = part == PixelRect{0, 0, c.width, c.height};
    DrawWallpaper(all ? layout : LayoutOfPart(layout, part), cut.View(), fromPart.Canvas());
    EXPECT_EQ(fromPart.bytes, whole.bytes) << c.width << "x" << c.height;
  }
}

TEST(DrawWallpaper, TilesRepeatFromTheTopLeftCorner) {
  const Image picture = Numbered(3, 2);
  Image canvas(10, 7);
  DrawWallpaper(LayOutWallpaper(10, 7, 3, 2, Tile), picture.View(), canvas.Canvas());
  for (int32_t y = 0; y < 7; ++y) {
    for (int32_t x = 0; x < 10; ++x) {
      EXPECT_EQ(canvas.At(x, y), 0xFF000000 | picture.At(x % 3, y % 2)) << x << "," << y;
    }
  }

  // A picture decoded at half its size is brought back to the tile's size.
  const Image reduced(2, 1, 0xFF336699);
  Image tiled(9, 5);
  DrawWallpaper(LayOutWallpaper(9, 5, 4, 2, Tile), reduced.View(), tiled.Canvas());
  for (int32_t y = 0; y < 5; ++y) {
    for (int32_t x = 0; x < 9; ++x) {
      EXPECT_EQ(tiled.At(x, y), 0xFF336699u) << x << "," << y;
    }
  }
}

TEST(DrawWallpaper, ScalingKeepsPlainColoursAndAveragesWhenReducing) {
  // Enlarging and reducing by odd ratios, and a picture much taller than
  // wide, all keep a plain colour plain up to the canvas's edges.
  for (const auto& [w, h] : {std::pair{3, 2}, std::pair{37, 23}, std::pair{1, 20000}}) {
    const Image plain(w, h, 0xFF204080);
    Image canvas(16, 9, Untouched);
    DrawWallpaper(LayOutWallpaper(16, 9, w, h, Stretch), plain.View(), canvas.Canvas());
    for (int32_t y = 0; y < 9; ++y) {
      for (int32_t x = 0; x < 16; ++x) {
        ASSERT_EQ(canvas.At(x, y), 0xFF204080u) << w << "x" << h << " at " << x << "," << y;
      }
    }
  }

  // Halving averages each 2 x 2 block.
  Image blocks(4, 2, 0xFF000000);
  blocks.Set(0, 0, 0xFF0000FF);
  blocks.Set(1, 1, 0xFF0000FF);
  blocks.Set(2, 0, 0xFFFF0000);
  blocks.Set(3, 0, 0xFFFF0000);
  blocks.Set(2, 1, 0xFFFF0000);
  blocks.Set(3, 1, 0xFFFF0000);
  Image half(2, 1);
  DrawWallpaper(LayOutWallpaper(2, 1, 4, 2, Stretch), blocks.View(), half.Canvas());
  EXPECT_EQ(half.At(0, 0), 0xFF000080u);
  EXPECT_EQ(half.At(1, 0), 0xFFFF0000u);

  // Enlarging a black-white pair keeps the ends and grades in between.
  Image pair(2, 1, 0xFF000000);
  pair.Set(1, 0, 0xFFFFFFFF);
  Image wide(8, 1);
  DrawWallpaper(LayOutWallpaper(8, 1, 2, 1, Stretch), pair.View(), wide.Canvas());
  EXPECT_EQ(wide.At(0, 0), 0xFF000000u);
  EXPECT_EQ(wide.At(7, 0), 0xFFFFFFFFu);
  for (int32_t x = 1; x < 8; ++x) {
    EXPECT_GE(wide.At(x, 0) & 0xFF, wide.At(x - 1, 0) & 0xFF);
  }
  // Pixel centres map to pixel centres, so the grading is symmetric.
  for (int32_t x = 0; x < 4; ++x) {
    EXPECT_NEAR((wide.At(x, 0) & 0xFF) + (wide.At(7 - x, 0) & 0xFF), 255, 1) << x;
  }
}

// A picture whose row y has the blue value rowValue(y) all along.
template <typename RowValue>
Image Rows(int32_t w, int32_t h, RowValue rowValue) {
  Image image(w, h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      image.Set(x, y, 0xFF000000 | static_cast<uint32_t>(rowValue(y)));
    }
  }
  return image;
}

TEST(DrawWallpaper, EveryRowOfATallCanvasComesFromTheRightSourceRows) {
  // Doubling the height: row i samples the source at i / 2 - 0.25.
  const Image doubled = Rows(3, 50, [](int32_t y) { return 4 * y; });
  Image up(3, 100);
  DrawWallpaper(LayOutWallpaper(3, 100, 3, 50, Stretch), doubled.View(), up.Canvas());
  // Halving the height: row i averages rows 2i and 2i + 1.
  const Image halved = Rows(3, 200, [](int32_t y) { return y; });
  Image down(3, 100);
  DrawWallpaper(LayOutWallpaper(3, 100, 3, 200, Stretch), halved.View(), down.Canvas());
  // A narrow picture reduced four times in height and widened.
  const Image narrow = Rows(1, 400, [](int32_t y) { return y / 4; });
  Image widened(16, 100);
  DrawWallpaper(LayOutWallpaper(16, 100, 1, 400, Stretch), narrow.View(), widened.Canvas());
  for (int32_t i = 0; i < 100; ++i) {
    EXPECT_EQ(up.At(1, i), 0xFF000000u | std::clamp(2 * i - 1, 0, 196)) << i;
    EXPECT_EQ(down.At(2, i), 0xFF000000u | (2 * i + 1)) << i;
    EXPECT_EQ(widened.At(0, i), 0xFF000000u | i) << i;
    EXPECT_EQ(widened.At(15, i), 0xFF000000u | i) << i;
  }
}

TEST(DrawWallpaper, ScaledPictureIsCutAtTheEdgesAndLeavesTheRest) {
  // 40 x 10 fitted to a height of 5 is 20 wide on a 10-wide canvas: the
  // middle half shows, from the picture's columns 10 to 29.
  Image picture(40, 10, 0xFF0000FF);
  for (int32_t y = 0; y < 10; ++y) {
    for (int32_t x = 20; x < 40; ++x) {
      picture.Set(x, y, 0xFFFF0000);
    }
  }
  Image canvas(10, 5, Untouched);
  const WallpaperLayout layout = LayOutWallpaper(10, 5, 40, 10, FitHeight);
  EXPECT_EQ(layout.target, (PixelRect{-5, 0, 15, 5}));
  DrawWallpaper(layout, picture.View(), canvas.Canvas());
  for (int32_t y = 0; y < 5; ++y) {
    for (int32_t x = 0; x < 10; ++x) {
      EXPECT_EQ(canvas.At(x, y), x < 5 ? 0xFF0000FFu : 0xFFFF0000u) << x << "," << y;
    }
  }

  Image letterbox(10, 8, Untouched);
  DrawWallpaper(LayOutWallpaper(10, 8, 40, 10, FitScreen), picture.View(), letterbox.Canvas());
  for (int32_t x = 0; x < 10; ++x) {
    EXPECT_EQ(letterbox.At(x, 2), Untouched);  // the rectangle is rows 3 and 4
    EXPECT_NE(letterbox.At(x, 3), Untouched);
    EXPECT_NE(letterbox.At(x, 4), Untouched);
    EXPECT_EQ(letterbox.At(x, 5), Untouched);
  }
}

}  // namespace
}  // namespace seltane
