#include "styles/DimEditing.h"

#include <gtest/gtest.h>

#include <string>

namespace seltane {
namespace {

TEST(ReadDimFields, ChecksInOrderAndStopsAtTheFirstFailure) {
  struct Case {
    DimFields fields;
    const char* message;  // nullptr: accepted
    const char* text;     // the rule when accepted
  };
  const Case cases[] = {
      {{"", "", "", ""}, "First field cannot be empty", ""},
      {{"800", "", "", ""}, "Third field cannot be empty", ""},
      {{"abc", "", "", ""}, "Need number", ""},  // before the empty third field
      {{"   ", "", "600", ""}, "Need number", ""},
      {{"800", "1O24", "600", ""}, "Need number", ""},
      {{"1024", "800", "768", ""}, "First number cannot be greater than second one", ""},
      {{"800", "1024", "768", "600"}, "Third number cannot be greater than fourth one", ""},
      {{"800", "-1", "600", ""}, "Numbers must be positive", ""},
      {{"-1", "", "70000", ""}, "Numbers must be positive", ""},
      // Too large is refused, not wrapped: 65536 would be 0, 70000 4464.
      {{"800", "65536", "600", ""}, "Numbers cannot be greater than 65535", ""},
      {{"800", "", "99999999999999999999999", ""}, "Numbers cannot be greater than 65535", ""},
      {{"70000", "800", "600", ""}, "Numbers cannot be greater than 65535", ""},
      {{"800", "", "600", ""}, nullptr, "800 x 600"},
      {{"800", "800", "600", "600"}, nullptr, "800 - 800 x 600 - 600"},
      {{" +0 ", "0", "65535", ""}, nullptr, "0 x 65535"},
      {{"800", "1024", "600", "768"}, nullptr, "800 - 1024 x 600 - 768"},
  };
  for (const Case& c : cases) {
    const std::string name = std::string(c.fields[0]) + "|" + std::string(c.fields[1]) + "|" +
                             std::string(c.fields[2]) + "|" + std::string(c.fields[3]);
    const DimFieldsResult result = ReadDimFields(c.fields);
    if (c.message != nullptr) {
      EXPECT_FALSE(result.dim) << name;
      EXPECT_STREQ(result.message, c.message) << name;
    } else {
      ASSERT_TRUE(result.dim) << name;
      EXPECT_EQ(result.dim->Text, c.text) << name;
      EXPECT_EQ(DimFromText(c.text), result.dim) << name;  // numbers and text agree
    }
  }
}

TEST(RuleSettings, ModeButtonsAndStyleBoxes) {
  using Flags = std::array<bool, WallpaperStyleCount>;
  constexpr Flags none{}, onlyStretch{true}, stretchAndCenter{true, true};
  struct Case {
    const char* name;
    StyleRuleSettings before;
    void (*act)(StyleRuleSettings&);
    uint8_t AutoStyleType;
    Flags enabled;
  };
  const Case cases[] = {
      {"an all button clears the boxes",
       {stretchAndCenter, 0},
       [](StyleRuleSettings& s) { ChooseAllStyle(s, wsTile); },
       3,
       none},
      {"one box checked while all is on keeps all",
       {none, 2},
       [](StyleRuleSettings& s) { CheckStyleBox(s, wsStretch, true); },
       2,
       onlyStretch},
      {"a second box switches to selected",
       {onlyStretch, 2},
       [](StyleRuleSettings& s) { CheckStyleBox(s, wsCenter, true); },
       0,
       stretchAndCenter},
      {"clearing a box changes only its flag",
       {stretchAndCenter, 2},
       [](StyleRuleSettings& s) { CheckStyleBox(s, wsCenter, false); },
       2,
       onlyStretch},
      {"selected after all", {none, 6}, ChooseStylesBySize, 0, none},
      {"selected keeps a value no button stands for",
       {onlyStretch, 9},
       ChooseStylesBySize,
       9,
       onlyStretch},
      {"a second box keeps it too",
       {onlyStretch, 9},
       [](StyleRuleSettings& s) { CheckStyleBox(s, wsFitScreen, true); },
       9,
       Flags{true, false, false, false, false, true}},
  };
  for (const Case& c : cases) {
    StyleRuleSettings settings = c.before;
    c.act(settings);
    EXPECT_EQ(settings.AutoStyleType, c.AutoStyleType) << c.name;
    EXPECT_EQ(settings.enabled, c.enabled) << c.name;
  }
}

}  // namespace
}  // namespace seltane
