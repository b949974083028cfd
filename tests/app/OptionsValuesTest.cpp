#include "app/OptionsValues.h"

#include <gtest/gtest.h>

namespace seltane {
namespace {

TEST(OptionsValues, TheDayFieldTakesWholeNumbersOfDaysFrom0To255Only) {
  const std::pair<const char*, std::optional<uint8_t>> cases[] = {
      {"0", 0},
      {"7", 7},
      {"007", 7},
      {"100", 100},
      {"255", 255},
      {"256", std::nullopt},
      {"999", std::nullopt},
      {"", std::nullopt},
      {" 5", std::nullopt},
      {"-1", std::nullopt},
      {"1e2", std::nullopt},
      {"0255", std::nullopt},
  };
  for (const auto& [text, days] : cases) {
    EXPECT_EQ(ParseChangeDays(text), days) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace seltane
