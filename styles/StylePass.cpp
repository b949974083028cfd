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
                       const std::function<bool(std::size_t done)>& progress) {
  if (const std::optional<uint8_t> all = AllModeStyle(settings)) {
    for (kelWide& picture : pictures) {
      picture.Style = *all;
    }
    return;
  }
  if (!StylePassMeasures(dims, settings)) {
    return;
  }
  std::vector<std::string> paths;
  paths.reserve(pictures.size());
  for (const kelWide& picture : pictures) {
    paths.push_back(picture.FullPath);
  }
  MeasuringAhead ahead(std::move(paths), measure);
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    if (const std::optional<MeasuredSize> size = ahead.Size(i)) {
      if (const auto style = StyleBySize(dims, settings.enabled, size->width, size->height)) {
        pictures[i].Style = *style;
      }
    }
    if (progress && !progress(i + 1)) {
      return;
    }
  }
}

}  // namespace seltane
