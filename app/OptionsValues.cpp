#include "app/OptionsValues.h"

namespace seltane {

namespace {

// A decimal number of at most `digits` digits and at most `largest`, with
// nothing else around it.
std::optional<unsigned> ParseWholeNumber(std::string_view text, std::size_t digits,
                                         unsigned largest) {
  if (text.empty() || text.size() > digits) {
    return std::nullopt;
  }
  unsigned number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    number = number * 10 + static_cast<unsigned>(c - '0');
  }
  if (number > largest) {
    return std::nullopt;
  }
  return number;
}

constexpr const char* IntervalUnitNames[] = {"minutes", "hours", "days"};

}  // namespace

std::optional<uint8_t> ParseChangeDays(std::string_view text) {
  const auto days = ParseWholeNumber(text, DayFieldLength, UINT8_MAX);
  return days ? std::optional<uint8_t>(static_cast<uint8_t>(*days)) : std::nullopt;
}

std::optional<uint16_t> ParseInterval(std::string_view text) {
  const auto interval = ParseWholeNumber(text, IntervalFieldLength, UINT16_MAX);
  return interval ? std::optional<uint16_t>(static_cast<uint16_t>(*interval)) : std::nullopt;
}

const char* IntervalUnitName(int unit) {
  return IntervalUnitNames[unit >= 0 && unit < IntervalUnitCount ? unit : 0];
}

std::string IntervalTooLongText(uint8_t unit) {
  return "Windows' task scheduler repeats a change at most every " +
         std::to_string(LongestInterval(unit)) + " " + IntervalUnitName(unit) +
         ". Enter 0 to switch the timed change off.";
}

std::string NotValidIntegerText(std::string_view text) {
  std::string message = "'";
  message.append(text).append("' is not a valid integer value");
  return message;
}

int RandomTypeItem(uint8_t randomType) {
  return randomType < RandomTypeCount ? randomType : 0;
}

}  // namespace seltane
