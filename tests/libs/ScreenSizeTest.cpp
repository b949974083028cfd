#include "libs/common/ScreenSize.h"

#include <gtest/gtest.h>

namespace seltane {
namespace {

// A program unaware of the screen's scaling is told a smaller screen; the
// wallpaper is composed at the physical size, but never at the size of
// several monitors together.
TEST(ScreenSize, PhysicalSizeIsTheScaledUpOneOnly) {
  struct Case {
    ScreenSize metrics, device, physical;
  };
  for (const Case& c : {
           Case{{1024, 768}, {1024, 768}, {1024, 768}},    // not scaled
           Case{{1280, 720}, {1920, 1080}, {1920, 1080}},  // 150 %
           Case{{1536, 864}, {1920, 1080}, {1920, 1080}},  // 125 %
           Case{{1463, 823}, {2560, 1440}, {2560, 1440}},  // 175 %, rounded
           Case{{1280, 720}, {3840, 1080}, {1280, 720}},   // two monitors side by side
           Case{{1920, 1080}, {0, 0}, {1920, 1080}},       // no device answer
           Case{{1920, 1080}, {1280, 720}, {1920, 1080}},
       }) {
    EXPECT_EQ(PhysicalScreenSize(c.metrics, c.device), c.physical)
        << c.metrics.width << " " << c.device.width;
  }
}

}  // namespace
}  // namespace seltane
