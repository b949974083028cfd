// Makes a picture the desktop wallpaper in one of the six styles.
#pragma once

#include <cstdint>
#include <string>

namespace seltane {

// Composes the picture, laid out in the style, on a bitmap of the primary
// screen's size and sets that bitmap centred as the wallpaper. False, with
// the wallpaper unchanged, when the picture cannot be read or the bitmap
// cannot be written.
bool ApplyWallpaper(const std::wstring& path, uint8_t style);

}  // namespace seltane
