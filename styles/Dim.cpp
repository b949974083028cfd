#include "styles/Dim.h"

#include <algorithm>
#include <charconv>

#include "data/LineCursor.h"

namespace seltane {
namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr char CtrlZ = '\x1a';

void AppendNumber(std::string& out, uint16_t value) {
  char digits[8];
  const auto result = std::to_chars(std::begin(digits), std::end(digits), value);
  out.append(digits, result.ptr);
}

void AppendLine(std::string& out, std::string_view line) {
  out += line;
  out += LineEnd;
}

bool IsStyle(uint8_t style) {
  return style < WallpaperStyleCount;
}

// Reads the rule text form from the front of `rest`, one piece at a time.
class DimTextReader {
 public:
  explicit DimTextReader(std::string_view text) : rest_(text) {}

  // A decimal number without sign or leading zero, at most 65535.
  bool Number(uint16_t& value) {
    std::size_t length = 0;
    while (length < rest_.size() && rest_[length] >= '0' && rest_[length] <= '9') {
      ++length;
    }
    if (length == 0 || length > 5 || (length > 1 && rest_[0] == '0')) {
      return false;
    }
    uint32_t accumulated = 0;
    for (std::size_t i = 0; i < length; ++i) {
      accumulated = accumulated * 10 + static_cast<uint32_t>(rest_[i] - '0');
    }
    if (accumulated > 0xFFFF) {
      return false;
    }
    value = static_cast<uint16_t>(accumulated);
    rest_.remove_prefix(length);
    return true;
  }

  // Takes `word` when the text goes on with it.
  bool Take(std::string_view word) {
    if (!rest_.starts_with(word)) {
      return false;
    }
    rest_.remove_prefix(word.size());
    return true;
  }

  // A range's upper bound: " - " and a number that is neither 0 nor below
  // the lower bound. No range leaves the bound 0.
  bool UpperBound(uint16_t lower, uint16_t& upper) {
    upper = 0;
    if (!Take(" - ")) {
      return true;
    }
    return Number(upper) && upper != 0 && upper >= lower;
  }

  bool AtEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

bool AxisIncludes(uint16_t outerStart, uint16_t outerEnd, uint16_t innerStart, uint16_t innerEnd) {
  if (outerEnd == 0) {
    return innerStart == outerStart;
  }
  if (innerEnd == 0) {
    return outerStart <= innerStart && innerStart <= outerEnd;
  }
  return outerStart <= innerStart && innerEnd <= outerEnd;
}

bool AxisCrosses(uint16_t existingStart, uint16_t existingEnd, uint16_t addedStart,
                 uint16_t addedEnd) {
  if (addedEnd == 0) {
    return existingStart == addedStart;
  }
  const auto within = [&](uint16_t value) { return addedStart <= value && value <= addedEnd; };
  return within(existingStart) || within(existingEnd);
}

bool AxisMatches(uint16_t size, uint16_t start, uint16_t end) {
  return size == start || (size > start && size < end);
}

std::size_t SortedPosition(const std::vector<TDim>& list, const std::string& text) {
  const auto at = std::upper_bound(list.begin(), list.end(), text,
                                   [](const std::string& t, const TDim& d) { return t < d.Text; });
  return static_cast<std::size_t>(at - list.begin());
}

std::string Question(std::string_view relation, const TDim& existing, std::string_view end) {
  std::string text(DimQuestionStart);
  text += relation;
  text += existing.Text;
  text += end;
  return text;
}

// Runs the two passes of the check over one list. Returns false to abort.
class ListCheck {
 public:
  ListCheck(DimLists& dims, uint8_t style, const TDim& added, std::string_view verb,
            std::optional<DimPosition>& changing, Prompter& prompter,
            std::vector<DimPosition>& deleted)
      : dims_(dims),
        style_(style),
        list_(dims.Lists[style]),
        added_(added),
        verb_(verb),
        changing_(changing),
        prompter_(prompter),
        deleted_(deleted) {}

  bool IncludingPass() {
    std::size_t index = 0;
    while (index < list_.size()) {
      if (IsChanging(index)) {
        ++index;
        continue;
      }
      const TDim& existing = list_[index];
      if (DimIncludes(added_, existing)) {
        const PromptAnswer answer = AskDelete(DimIncludesWords, existing);
        if (answer == PromptAnswer::Yes) {
          Delete(index);
          continue;  // the next rule now stands at this position
        }
        if (answer != PromptAnswer::No) {
          return false;
        }
      }
      if (DimIncludes(existing, added_)) {
        std::string end = ". ";
        end += verb_;
        end += DimAnywayQuestionEnd;
        const PromptAnswer answer =
            prompter_.Ask(Question(DimIsIncludingWords, existing, end), DimQuestionCaption,
                          PromptButtons::YesNo, PromptIcon::Question);
        if (answer != PromptAnswer::Yes) {
          return false;
        }
      }
      ++index;
    }
    return true;
  }

  bool CrossingPass() {
    std::size_t index = 0;
    while (index < list_.size()) {
      if (IsChanging(index) || !DimCrosses(list_[index], added_)) {
        ++index;
        continue;
      }
      const PromptAnswer answer = AskDelete(DimCrossingWords, list_[index]);
      if (answer == PromptAnswer::Yes) {
        Delete(index);
      } else if (answer == PromptAnswer::No) {
        ++index;
      } else {
        return false;
      }
    }
    return true;
  }

 private:
  bool IsChanging(std::size_t index) const {
    return changing_ && changing_->style == style_ && changing_->index == index;
  }

  // Yes, No, or anything else (Cancel, a closed box) as Cancel.
  PromptAnswer AskDelete(std::string_view relation, const TDim& existing) {
    return prompter_.Ask(Question(relation, existing, DimDeleteQuestionEnd), DimQuestionCaption,
                         PromptButtons::YesNoCancel, PromptIcon::Question);
  }

  void Delete(std::size_t index) {
    DeleteDim(dims_, style_, index);
    deleted_.push_back({style_, index});
    if (changing_ && changing_->style == style_ && changing_->index > index) {
      --changing_->index;
    }
  }

  DimLists& dims_;
  uint8_t style_;
  std::vector<TDim>& list_;
  const TDim& added_;
  std::string_view verb_;
  std::optional<DimPosition>& changing_;
  Prompter& prompter_;
  std::vector<DimPosition>& deleted_;
};

}  // namespace

std::string DimText(uint16_t xSizeStart, uint16_t xSizeEnd, uint16_t ySizeStart,
                    uint16_t ySizeEnd) {
  std::string text;
  AppendNumber(text, xSizeStart);
  if (xSizeEnd != 0) {
    text += " - ";
    AppendNumber(text, xSizeEnd);
  }
  text += " x ";
  AppendNumber(text, ySizeStart);
  if (ySizeEnd != 0) {
    text += " - ";
    AppendNumber(text, ySizeEnd);
  }
  return text;
}

TDim DimFromNumbers(uint16_t xSizeStart, uint16_t xSizeEnd, uint16_t ySizeStart,
                    uint16_t ySizeEnd) {
  return {xSizeStart, xSizeEnd, ySizeStart, ySizeEnd,
          DimText(xSizeStart, xSizeEnd, ySizeStart, ySizeEnd)};
}

std::optional<TDim> DimFromText(std::string_view text) {
  TDim dim;
  DimTextReader reader(text);
  if (!reader.Number(dim.XSizeStart) || !reader.UpperBound(dim.XSizeStart, dim.XSizeEnd) ||
      !reader.Take(" x ") || !reader.Number(dim.YSizeStart) ||
      !reader.UpperBound(dim.YSizeStart, dim.YSizeEnd) || !reader.AtEnd()) {
    return std::nullopt;
  }
  dim.Text = std::string(text);
  return dim;
}

bool SizeMatchesDim(uint16_t width, uint16_t height, const TDim& dim) {
  return AxisMatches(width, dim.XSizeStart, dim.XSizeEnd) &&
         AxisMatches(height, dim.YSizeStart, dim.YSizeEnd);
}

std::size_t DimCount(const DimLists& dims, uint8_t style) {
  return IsStyle(style) ? dims.Lists[style].size() : 0;
}

const std::string& DimTextAt(const DimLists& dims, uint8_t style, std::size_t index) {
  return dims.Lists[style][index].Text;
}

bool DimListIsFull(const DimLists& dims, uint8_t style) {
  return !IsStyle(style) || dims.Lists[style].size() >= MaxDimsPerList;
}

std::optional<std::size_t> AddDim(DimLists& dims, uint8_t style, TDim dim) {
  if (DimListIsFull(dims, style)) {
    return std::nullopt;
  }
  std::vector<TDim>& list = dims.Lists[style];
  const std::size_t position = SortedPosition(list, dim.Text);
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(position), std::move(dim));
  dims.DimsModified = true;
  return position;
}

std::optional<std::size_t> ReplaceDim(DimLists& dims, uint8_t style, std::size_t index,
                                      const TDim& dim) {
  if (!IsStyle(style) || index >= dims.Lists[style].size()) {
    return std::nullopt;
  }
  std::vector<TDim>& list = dims.Lists[style];
  if (list[index] == dim) {
    return index;  // no change: the rules stay unmodified
  }
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
  const std::size_t position = SortedPosition(list, dim.Text);
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(position), dim);
  dims.DimsModified = true;
  return position;
}

bool DeleteDim(DimLists& dims, uint8_t style, std::size_t index) {
  if (!IsStyle(style) || index >= dims.Lists[style].size()) {
    return false;
  }
  std::vector<TDim>& list = dims.Lists[style];
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
  dims.DimsModified = true;
  return true;
}

DimsFileResult ParseDimsFile(std::string_view text) {
  DimsFileResult result;
  // An editor may save the file with a UTF-8 byte-order mark before the
  // header; the rest is plain text all the same.
  constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
  if (text.substr(0, Utf8Bom.size()) == Utf8Bom) {
    text.remove_prefix(Utf8Bom.size());
  }
  text = text.substr(0, text.find(CtrlZ));
  if (text.empty()) {
    result.status = DimsFileStatus::Empty;
    return result;
  }
  LineCursor cursor(text);
  std::string_view line;
  cursor.Next(line);
  // A last line without LF, or a line ended by CR CR LF, still loses its CR.
  const auto dropCr = [](std::string_view& l) {
    if (!l.empty() && l.back() == '\r') {
      l.remove_suffix(1);
    }
  };
  dropCr(line);
  if (line != DimsFileHeader) {
    result.status = DimsFileStatus::WrongHeader;
    return result;
  }

  std::optional<uint8_t> section;
  while (cursor.Next(line)) {
    dropCr(line);
    const auto skip = [&](DimsLineProblem problem) {
      if (result.skipped.size() < MaxDimsLineIssues) {
        result.skipped.push_back({cursor.LineNumber(), problem});
      }
    };
    if (line.empty()) {
      skip(DimsLineProblem::EmptyLine);
      continue;
    }
    if (line.front() == ';') {
      continue;
    }
    const auto head = std::find(DimsSectionHeads.begin(), DimsSectionHeads.end(), line);
    if (head != DimsSectionHeads.end()) {
      section = static_cast<uint8_t>(head - DimsSectionHeads.begin());
      continue;
    }
    if (!section) {
      skip(DimsLineProblem::BeforeFirstSection);
      continue;
    }
    std::optional<TDim> dim = DimFromText(line);
    if (!dim) {
      skip(DimsLineProblem::NotARule);
      continue;
    }
    std::vector<TDim>& list = result.dims.Lists[*section];
    if (list.size() >= MaxDimsPerList) {
      skip(DimsLineProblem::ListFull);
      continue;
    }
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(SortedPosition(list, dim->Text)),
                std::move(*dim));
  }
  return result;
}

std::string FormatDimsFile(const DimLists& dims) {
  std::string out;
  AppendLine(out, DimsFileHeader);
  AppendLine(out, DimsDontModifyLine);
  for (uint8_t style = 0; style < WallpaperStyleCount; ++style) {
    const std::vector<TDim>& list = dims.Lists[style];
    if (list.empty()) {
      continue;
    }
    AppendLine(out, DimsSectionHeads[style]);
    for (const TDim& dim : list) {
      AppendLine(out, dim.Text);
    }
  }
  return out;
}

std::optional<uint8_t> StyleBySize(const DimLists& dims,
                                   const std::array<bool, WallpaperStyleCount>& enabled,
                                   uint16_t width, uint16_t height) {
  // The highest style with a matching rule wins, so look from the top down.
  for (uint8_t style = WallpaperStyleCount; style-- > 0;) {
    if (!enabled[style]) {
      continue;
    }
    const std::vector<TDim>& list = dims.Lists[style];
    const bool matches = std::any_of(list.begin(), list.end(), [&](const TDim& dim) {
      return SizeMatchesDim(width, height, dim);
    });
    if (matches) {
      return style;
    }
  }
  return std::nullopt;
}

std::optional<uint8_t> AllModeStyle(const StyleRuleSettings& settings) {
  if (settings.AutoStyleType >= 1 && settings.AutoStyleType <= WallpaperStyleCount) {
    return static_cast<uint8_t>(settings.AutoStyleType - 1);
  }
  return std::nullopt;
}

std::optional<uint8_t> StyleFromRules(const DimLists& dims, const StyleRuleSettings& settings,
                                      uint16_t width, uint16_t height) {
  if (const std::optional<uint8_t> all = AllModeStyle(settings)) {
    return all;
  }
  return StyleBySize(dims, settings.enabled, width, height);
}

uint8_t StyleForNewPicture(const DimLists& dims, const StyleRuleSettings& settings, uint16_t width,
                           uint16_t height, std::optional<uint8_t> boxStyle) {
  const uint8_t fallback = boxStyle && IsStyle(*boxStyle) ? *boxStyle : uint8_t{wsStretch};
  return StyleFromRules(dims, settings, width, height).value_or(fallback);
}

bool DimIncludes(const TDim& outer, const TDim& inner) {
  return AxisIncludes(outer.XSizeStart, outer.XSizeEnd, inner.XSizeStart, inner.XSizeEnd) &&
         AxisIncludes(outer.YSizeStart, outer.YSizeEnd, inner.YSizeStart, inner.YSizeEnd);
}

bool DimCrosses(const TDim& existing, const TDim& added) {
  return AxisCrosses(existing.XSizeStart, existing.XSizeEnd, added.XSizeStart, added.XSizeEnd) &&
         AxisCrosses(existing.YSizeStart, existing.YSizeEnd, added.YSizeStart, added.YSizeEnd);
}

DimCheckResult CheckCrossIncluding(DimLists& dims, const TDim& newDim, DimCheckMode mode,
                                   std::optional<DimPosition>& changing, bool checkEnabled,
                                   Prompter& prompter) {
  DimCheckResult result;
  if (!checkEnabled) {
    return result;
  }
  // Only a rule that is being changed is passed over.
  std::optional<DimPosition> noRule;
  std::optional<DimPosition>& passedOver = mode == DimCheckMode::Change ? changing : noRule;
  const std::string_view verb = mode == DimCheckMode::Add ? DimAddVerb : DimChangeVerb;
  for (uint8_t style = 0; style < WallpaperStyleCount; ++style) {
    if (dims.Lists[style].empty()) {
      continue;
    }
    ListCheck check(dims, style, newDim, verb, passedOver, prompter, result.deleted);
    if (!check.IncludingPass() || !check.CrossingPass()) {
      result.proceed = false;
      return result;
    }
  }
  return result;
}

}  // namespace seltane
