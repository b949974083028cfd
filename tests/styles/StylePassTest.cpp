#include "styles/StylePass.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

namespace seltane {
namespace {

class StylePass : public ::testing::Test {
 protected:
  StylePass() {
    for (const auto& [path, style] :
         std::vector<std::pair<std::string, uint8_t>>{{"1024x768", wsCenter},
                                                      {"800x600", wsTile},
                                                      {"640x480", wsStretch},
                                                      {"missing", wsFitWidth}}) {
      pictures.push_back({path, path, style, 1, 2, false});
    }
    for (const auto& [style, text] :
         std::vector<std::pair<uint8_t, const char*>>{{wsStretch, "1024 x 768"},
                                                      {wsCenter, "700 - 900 x 500 - 700"},
                                                      {wsFitHeight, "800 x 600"},
                                                      {wsFitHeight, "640 x 480"}}) {
      AddDim(dims, style, *DimFromText(text));
    }
  }

  // `stopAfter`: the progress answers false once that many are done.
  std::vector<uint8_t> Apply(const StyleRuleSettings& settings, std::size_t stopAfter = 0) {
    measured = 0;
    progress.clear();
    ApplyStylesToList(
        pictures, dims, settings,
        [this](const std::string& path) -> std::optional<MeasuredSize> {
          ++measured;  // on the measuring threads
          const std::map<std::string, MeasuredSize> sizes = {
              {"1024x768", {1024, 768}}, {"800x600", {800, 600}}, {"640x480", {640, 480}}};
          const auto found = sizes.find(path);
          return found != sizes.end() ? std::optional(found->second) : std::nullopt;
        },
        [&](std::size_t done) {
          progress.push_back(done);
          return done != stopAfter;
        });
    std::vector<uint8_t> styles;
    for (const kelWide& picture : pictures) {
      styles.push_back(picture.Style);
      EXPECT_EQ(picture.Width, 1);  // the stored size stays
      EXPECT_EQ(picture.Height, 2);
    }
    return styles;
  }

  std::vector<kelWide> pictures;
  DimLists dims;
  std::atomic<std::size_t> measured = 0;
  std::vector<std::size_t> progress;
};

TEST_F(StylePass, TheHighestCheckedMatchWinsAndOthersKeepTheirStyles) {
  StyleRuleSettings settings;
  // 800x600 matches center and fit height: fit height; 1024x768 only
  // stretch; the missing file keeps its style.
  EXPECT_EQ(Apply(settings),
            (std::vector<uint8_t>{wsStretch, wsFitHeight, wsFitHeight, wsFitWidth}));
  EXPECT_EQ(measured, 4u);
  EXPECT_EQ(progress, (std::vector<std::size_t>{1, 2, 3, 4}));

  // Stopped after two pictures: the rest keep their styles.
  for (kelWide& picture : pictures) {
    picture.Style = wsTile;
  }
  EXPECT_EQ(Apply(settings, 2), (std::vector<uint8_t>{wsStretch, wsFitHeight, wsTile, wsTile}));
  EXPECT_EQ(progress, (std::vector<std::size_t>{1, 2}));
  pictures[3].Style = wsFitWidth;

  // Fit height unchecked: 800x600 gets center, 640x480 matches nothing and
  // keeps what it had.
  settings.enabled[wsFitHeight] = false;
  pictures[2].Style = wsTile;
  EXPECT_EQ(Apply(settings), (std::vector<uint8_t>{wsStretch, wsCenter, wsTile, wsFitWidth}));

  // No checked style with a rule: nothing can change, no file is read.
  settings.enabled = {false, false, true, true, false, true};
  EXPECT_FALSE(StylePassMeasures(dims, settings));
  EXPECT_EQ(Apply(settings), (std::vector<uint8_t>{wsStretch, wsCenter, wsTile, wsFitWidth}));
  EXPECT_EQ(measured, 0u);
}

TEST_F(StylePass, AllGivesEveryPictureOneStyleWithoutReadingAFile) {
  for (uint8_t style = 0; style < WallpaperStyleCount; ++style) {
    StyleRuleSettings settings;
    settings.AutoStyleType = static_cast<uint8_t>(style + 1);
    EXPECT_FALSE(StylePassMeasures(dims, settings));
    EXPECT_EQ(Apply(settings), std::vector<uint8_t>(pictures.size(), style));
    EXPECT_EQ(measured, 0u);
    EXPECT_TRUE(progress.empty());
  }
  // A value no button stands for chooses by size.
  StyleRuleSettings settings;
  settings.AutoStyleType = 7;
  EXPECT_EQ(Apply(settings)[0], wsStretch);
  EXPECT_EQ(measured, 4u);
}

}  // namespace
}  // namespace seltane
