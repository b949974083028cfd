#include "styles/DimEditing.h"

#include <algorithm>

namespace seltane {
namespace {

constexpr int64_t LargestBound = 0xFFFF;

// A field as an integer: blanks around it, an optional sign, then digits.
// Digits beyond what a bound can hold keep the value just above the limit,
// so that a long number is told as too large rather than wrapped.
std::optional<int64_t> FieldInteger(std::string_view field) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!field.empty() && blank(field.front())) {
    field.remove_prefix(1);
  }
  while (!field.empty() && blank(field.back())) {
    field.remove_suffix(1);
  }
  bool negative = false;
  if (!field.empty() && (field.front() == '-' || field.front() == '+')) {
    negative = field.front() == '-';
    field.remove_prefix(1);
  }
  if (field.empty()) {
    return std::nullopt;
  }
  int64_t value = 0;
  for (char c : field) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    value = std::min(value * 10 + (c - '0'), LargestBound + 1);
  }
  return negative ? -value : value;
}

}  // namespace

DimFieldsResult ReadDimFields(const DimFields& fields) {
  std::array<int64_t, 4> numbers{};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const bool lowerBound = i % 2 == 0;
    if (fields[i].empty()) {
      if (lowerBound) {
        return {std::nullopt, i == 0 ? FirstFieldEmptyMessage : ThirdFieldEmptyMessage};
      }
      continue;  // no upper bound: 0
    }
    const std::optional<int64_t> number = FieldInteger(fields[i]);
    if (!number) {
      return {std::nullopt, NeedNumberMessage};
    }
    numbers[i] = *number;
  }
  if (std::any_of(numbers.begin(), numbers.end(), [](int64_t n) { return n < 0; })) {
    return {std::nullopt, NumbersNegativeMessage};
  }
  if (std::any_of(numbers.begin(), numbers.end(), [](int64_t n) { return n > LargestBound; })) {
    return {std::nullopt, NumbersTooLargeMessage};
  }
  if (numbers[1] != 0 && numbers[1] < numbers[0]) {
    return {std::nullopt, WidthBoundsReversedMessage};
  }
  if (numbers[3] != 0 && numbers[3] < numbers[2]) {
    return {std::nullopt, HeightBoundsReversedMessage};
  }
  return {DimFromNumbers(static_cast<uint16_t>(numbers[0]), static_cast<uint16_t>(numbers[1]),
                         static_cast<uint16_t>(numbers[2]), static_cast<uint16_t>(numbers[3])),
          nullptr};
}

void CheckStyleBox(StyleRuleSettings& settings, uint8_t style, bool checked) {
  if (style >= WallpaperStyleCount) {
    return;
  }
  settings.enabled[style] = checked;
  if (checked && std::count(settings.enabled.begin(), settings.enabled.end(), true) >= 2) {
    ChooseStylesBySize(settings);
  }
}

void ChooseAllStyle(StyleRuleSettings& settings, uint8_t style) {
  if (style >= WallpaperStyleCount) {
    return;
  }
  settings.AutoStyleType = static_cast<uint8_t>(style + 1);
  settings.enabled.fill(false);
}

void ChooseStylesBySize(StyleRuleSettings& settings) {
  if (AllModeStyle(settings)) {
    settings.AutoStyleType = 0;
  }
}

}  // namespace seltane
