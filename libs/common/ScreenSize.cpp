#include "libs/common/ScreenSize.h"

#include <algorithm>
#include <cstdlib>

namespace seltane {

ScreenSize PhysicalScreenSize(ScreenSize metrics, ScreenSize device) {
  if (metrics.width <= 0 || metrics.height <= 0 || device.width < metrics.width ||
      device.height < metrics.height) {
    return metrics;
  }
  // Scaling keeps the proportions, up to the rounding of the scaled size.
  const int64_t across = int64_t{device.width} * metrics.height;
  const int64_t down = int64_t{device.height} * metrics.width;
  const bool scaled = std::llabs(across - down) <= std::max(device.width, device.height);
  return scaled ? device : metrics;
}

}  // namespace seltane
