#include "libs/common/Wallpaper.h"

namespace seltane {

bool ApplyWallpaper(const std::wstring&, uint8_t) {
  return false;
}

}  // namespace seltane
