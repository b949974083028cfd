// The primary monitor's size in physical pixels, which the composed
// wallpaper must have to fill the screen without a border.
#pragma once

#include <cstdint>

namespace seltane {

struct ScreenSize {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const ScreenSize&) const = default;
};

// From two answers of the system: the metrics, which Windows before 10
// scales down for programs not declared aware of the screen's scaling, and
// the display device's desktop size, which is never scaled but on some
// systems covers all monitors together. The device's size is taken when it
// is the metrics' size scaled up, the metrics' otherwise.
ScreenSize PhysicalScreenSize(ScreenSize metrics, ScreenSize device);

}  // namespace seltane
