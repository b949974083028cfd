// Makes a picture the desktop wallpaper in one of the six styles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "styles/WallpaperLayout.h"

namespace seltane {

// Composes the picture, laid out in the style, on a bitmap of the primary
// screen's size and sets that bitmap centred as the wallpaper. False, with
// the wallpaper unchanged, when the picture cannot be read or the bitmap
// cannot be written.
// With two or more monitors the picture is laid out on each monitor at its
// own size instead, in one bitmap of all monitors together set tiled from
// the primary monitor's corner.
bool ApplyWallpaper(const std::wstring& path, uint8_t style);

// The same for the given monitors, in physical virtual-screen pixels (the
// primary one at 0, 0); one monitor or none is the primary screen alone.
bool ApplyWallpaper(const std::wstring& path, uint8_t style,
                    const std::vector<PixelRect>& monitors);

}  // namespace seltane
