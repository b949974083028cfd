// The picture entry of a list and the wallpaper style codes.
#pragma once

#include <cstdint>
#include <string>

namespace seltane {

// Wallpaper style codes: what list files store, what SetWallpaper receives
// and the position of the style's text in the main window's style box.
enum TWallpaperStyle : uint8_t {
  wsStretch = 0,
  wsCenter = 1,
  wsTile = 2,
  wsFitWidth = 3,
  wsFitHeight = 4,
  wsFitScreen = 5,
};
inline constexpr uint8_t WallpaperStyleCount = 6;

// Lists hold at most this many pictures: counts and positions are 16-bit.
inline constexpr std::size_t MaxPictures = 65535;

// One picture of a list in memory.
struct kelWide {
  std::string FullPath;  // as read or added, not normalised
  std::string FileName;  // file name part of FullPath, extension included
  uint8_t Style = wsStretch;
  uint16_t Width = 0;  // 0 when not known
  uint16_t Height = 0;
  bool Used = false;  // the picture's flag in the random file
};

}  // namespace seltane
