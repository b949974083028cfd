#include "styles/StylePass.h"

namespace seltane {

bool StylePassMeasures(const DimLists& dims, const StyleRuleSettings& settings) {
  if (AllModeStyle(settings)) {
    return false;
  }
  for (uint8_t style = 0; style < WallpaperStyleCount; ++style) {
    if (settings.enabled[style] && !dims.Lists[style].empty()) {
      return true;
    }
  }
  return false;
}

void ApplyStylesToList(std::vector<kelWide>& pictures, const DimLists& dims,
                       const StyleRuleSettings& settings, const PictureMeasure& measure,
                       const std::function<void(std::size_t done)>& progress) {
  if (const std::optional<uint8_t> all = AllModeStyle(settings)) {
    for (kelWide& picture : pictures) {
      picture.Style = *all;
    }
    return;
  }
  if (!StylePassMeasures(dims, settings)) {
    return;
  }
  std::size_t done = 0;
  for (kelWide& picture : pictures) {
    if (const std::optional<MeasuredSize> size = measure(picture.FullPath)) {
      if (const auto style = StyleBySize(dims, settings.enabled, size->width, size->height)) {
        picture.Style = *style;
      }
    }
    if (progress) {
      progress(++done);
    }
  }
}

}  // namespace seltane
