// The set-style dialog's decisions, without its window: reading the editing
// row into a rule, and how the mode buttons and the style boxes change the
// rule settings.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "styles/Dim.h"

namespace seltane {

// The editing row's four fields, in order: lower and upper width bound,
// lower and upper height bound.
using DimFields = std::array<std::string_view, 4>;

// The rule the fields describe, or the message that tells what is wrong
// with them (shown in an OK box captioned DimInputErrorCaption, no icon).
struct DimFieldsResult {
  std::optional<TDim> dim;
  const char* message = nullptr;
};

// Reads the fields, stopping at the first failure: an empty first field; a
// first field that is no integer; the same for the second (empty is 0);
// an empty third field; the third and fourth as the first and second; a
// number below 0; a number above 65535 (a bound is 16 bits wide); a second
// number, when not 0, below the first; a fourth, when not 0, below the
// third. An integer may have blanks around it and a sign; a field of blanks
// is no integer.
DimFieldsResult ReadDimFields(const DimFields& fields);

inline constexpr const char* FirstFieldEmptyMessage = "First field cannot be empty";
inline constexpr const char* NeedNumberMessage = "Need number";
inline constexpr const char* ThirdFieldEmptyMessage = "Third field cannot be empty";
inline constexpr const char* NumbersNegativeMessage = "Numbers must be positive";
inline constexpr const char* NumbersTooLargeMessage = "Numbers cannot be greater than 65535";
inline constexpr const char* WidthBoundsReversedMessage =
    "First number cannot be greater than second one";
inline constexpr const char* HeightBoundsReversedMessage =
    "Third number cannot be greater than fourth one";

// A style box checked or cleared: the style's enable flag follows it, and
// checking a box while at least one other is checked switches to choosing
// by size.
void CheckStyleBox(StyleRuleSettings& settings, uint8_t style, bool checked);

// An "all" button chosen: every picture gets its style, and all six style
// boxes are cleared.
void ChooseAllStyle(StyleRuleSettings& settings, uint8_t style);

// "selected" chosen: styles are chosen by size. A stored value above 6 means
// the same and is kept as it is.
void ChooseStylesBySize(StyleRuleSettings& settings);

}  // namespace seltane
