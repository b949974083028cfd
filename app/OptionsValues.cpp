#include "app/OptionsValues.h"

namespace seltane {

std::optional<uint8_t> ParseChangeDays(std::string_view text) {
  if (text.empty() || text.size() > DayFieldLength) {
    return std::nullopt;
  }
  int days = 0;
  for (char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    days = days * 10 + (c - '0');
  }
  if (days > UINT8_MAX) {
    return std::nullopt;
  }
  return static_cast<uint8_t>(days);
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
