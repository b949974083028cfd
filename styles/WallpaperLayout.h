// Where a picture goes on the screen in each wallpaper style, and drawing it
// there on a screen-sized bitmap. Plain values only, so that the wallpaper
// library and kel's fullscreen preview share one geometry.
#pragma once

#include <cstddef>
#include <cstdint>

#include "data/PictureEntry.h"

namespace seltane {

// A rectangle in screen pixels, right and bottom excluded. It may reach past
// the screen's edges (a centred picture larger than the screen).
struct PixelRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool operator==(const PixelRect&) const = default;
};

struct WallpaperLayout {
  enum class Kind : uint8_t {
    Nothing,  // a picture without pixels: the screen stays black
    Single,   // the whole picture scaled into `target`
    Tiled,    // the picture at tileWidth x tileHeight, repeated
  };
  Kind kind = Kind::Nothing;
  PixelRect target;
  // Tiled: copies at (column * tileWidth, row * tileHeight) for column in
  // [0, columns) and row in [0, rows), from the screen's top-left corner.
  int32_t tileWidth = 0;
  int32_t tileHeight = 0;
  int32_t columns = 0;
  int32_t rows = 0;

  bool operator==(const WallpaperLayout&) const = default;
};

// Lays out a picture of pictureWidth x pictureHeight on a screen of
// screenWidth x screenHeight in the style (a style code outside 0-5 counts as
// Center). The fit styles shrink a picture to fit but never enlarge it.
WallpaperLayout LayOutWallpaper(int32_t screenWidth, int32_t screenHeight, int32_t pictureWidth,
                                int32_t pictureHeight, uint8_t style);

// The size at which the layout draws the picture: the target's size, or one
// tile's. A decoder may reduce the picture to this size without losing
// anything that will be seen. 0 x 0 for Nothing.
struct DrawnSize {
  int32_t width = 0;
  int32_t height = 0;
};
DrawnSize DrawnPictureSize(const WallpaperLayout& layout);

// The part of the picture, in its own pixels, that the layout shows on a
// canvas of canvasWidth x canvasHeight when it draws the picture at its own
// size: a centred or tiled picture larger than the canvas shows only some of
// it, and only that needs decoding. The whole picture when it is scaled.
PixelRect ShownPart(const WallpaperLayout& layout, int32_t canvasWidth, int32_t canvasHeight,
                    int32_t pictureWidth, int32_t pictureHeight);

// The layout that draws that part alone, cut out of the picture, just as
// `layout` draws it within the whole picture (for a part that is not the
// whole picture, so one drawn at its own size).
WallpaperLayout LayoutOfPart(const WallpaperLayout& layout, const PixelRect& part);

// 32-bit pixels in memory, blue, green, red, alpha, rows top-down.
struct ConstPixels {
  const uint8_t* data = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  std::ptrdiff_t stride = 0;  // bytes from one row to the next
};
struct MutablePixels {
  uint8_t* data = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  std::ptrdiff_t stride = 0;
};

// Draws the picture as the layout says on the canvas, which stands for the
// screen: the parts outside the canvas are cut, the canvas's other pixels are
// left as they are. The picture may have been decoded at a different size
// from the one the layout was made for (a JPEG reduced while decoding): it is
// resampled to the layout's sizes. Drawn pixels are opaque (alpha 255).
// Throws std::bad_alloc when its working buffers cannot be had.
void DrawWallpaper(const WallpaperLayout& layout, const ConstPixels& picture,
                   const MutablePixels& canvas);

}  // namespace seltane
