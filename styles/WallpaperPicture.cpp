#include "styles/WallpaperPicture.h"

namespace seltane {

DecodeOptions WallpaperDecodeOptions(PictureSize screen, uint8_t style) {
  auto layOut = [screen, style](PictureSize stored) {
    return LayOutWallpaper(screen.width, screen.height, stored.width, stored.height, style);
  };
  DecodeOptions options;
  options.drawnSize = [layOut](PictureSize stored) {
    const DrawnSize drawn = DrawnPictureSize(layOut(stored));
    return PictureSize{drawn.width, drawn.height};
  };
  options.shownPart = [layOut, screen](PictureSize stored) {
    const PixelRect part =
        ShownPart(layOut(stored), screen.width, screen.height, stored.width, stored.height);
    return PicturePart{part.left, part.top, part.Width(), part.Height()};
  };
  return options;
}

void DrawWallpaperPicture(const Picture& picture, uint8_t style, const MutablePixels& canvas) {
  if (!picture.pixels || picture.width <= 0 || picture.height <= 0) {
    return;
  }
  WallpaperLayout layout = LayOutWallpaper(canvas.width, canvas.height, picture.stored.width,
                                           picture.stored.height, style);
  if (!picture.Whole()) {
    const PicturePart& part = picture.part;
    layout =
        LayoutOfPart(layout, {part.left, part.top, part.left + part.width, part.top + part.height});
  }
  DrawWallpaper(layout, {picture.pixels.get(), picture.width, picture.height, picture.Stride()},
                canvas);
}

}  // namespace seltane
