// A decoded picture laid on a screen as wallpaper: how to decode it for a
// style and how to draw it. common.dll composes the desktop with these, and
// kel's fullscreen preview shows the same pixels beforehand.
#pragma once

#include <cstdint>

#include "platform/DecodedPicture.h"
#include "styles/WallpaperLayout.h"

namespace seltane {

// Decode options that give no more of the picture than the style shows on
// the screen: reduced to the size it is drawn at, or, drawn at its own size
// on a smaller screen, only the part that is on the screen.
DecodeOptions WallpaperDecodeOptions(PictureSize screen, uint8_t style);

// Draws the picture, decoded whole or in part, reduced or not, on the
// canvas, which stands for the whole screen, as the style lays it out. The
// canvas's other pixels are left as they are; an empty picture draws
// nothing. Throws std::bad_alloc when its working buffers cannot be had.
void DrawWallpaperPicture(const Picture& picture, uint8_t style, const MutablePixels& canvas);

}  // namespace seltane
