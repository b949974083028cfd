// Size rules: a rule gives pictures of some widths and heights a wallpaper
// style. Here are the rule TDim with its text form, the six rule lists (one
// per style), the dims.dat format as pure functions from text to data and
// back, the matching of a picture size, the choice of a style for a picture,
// and the check of a new or changed rule against the rules already held.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/PictureEntry.h"
#include "platform/Prompter.h"

namespace seltane {

// ---------------------------------------------------------------------------
// The rule

// One size rule. An upper bound of 0 means no range: the size must equal the
// lower bound. Text and the four numbers always describe the same rule.
struct TDim {
  uint16_t XSizeStart = 0;
  uint16_t XSizeEnd = 0;
  uint16_t YSizeStart = 0;
  uint16_t YSizeEnd = 0;
  std::string Text;

  bool operator==(const TDim&) const = default;
};

// The text form: "800 x 600", "800 - 1024 x 600", "800 x 600 - 768" or
// "800 - 1024 x 600 - 768"; a range is written only when its upper bound is
// not 0.
std::string DimText(uint16_t xSizeStart, uint16_t xSizeEnd, uint16_t ySizeStart, uint16_t ySizeEnd);

// A rule from four numbers, with its text built from them. The numbers are
// taken as they are; the set-style dialog checks them before.
TDim DimFromNumbers(uint16_t xSizeStart, uint16_t xSizeEnd, uint16_t ySizeStart, uint16_t ySizeEnd);

// A rule from its text form, the text kept unchanged. Only the exact form
// that DimText writes is a rule: decimal numbers without signs or leading
// zeros, each at most 65535 (a larger number is refused, never wrapped),
// single blanks, a lower-case "x", and an upper bound, where written, neither
// 0 nor below its lower bound (the dialog refuses such rules, so the program
// never writes them). Anything else gives nothing.
std::optional<TDim> DimFromText(std::string_view text);

// The width matches when it equals XSizeStart, or lies above XSizeStart and
// below XSizeEnd (the upper bound itself does not match); the height likewise.
bool SizeMatchesDim(uint16_t width, uint16_t height, const TDim& dim);

// ---------------------------------------------------------------------------
// The six rule lists

// A list holds at most this many rules: the dialog's positions are 8-bit.
inline constexpr std::size_t MaxDimsPerList = 255;

// The rules of the six styles, in style order, each list held sorted by Text
// in ascending byte order (so "1024 x 768" stands before "800 x 600"). Rules
// with equal texts keep the order in which they came. Every change made
// through the functions below sets DimsModified, which decides whether
// dims.dat is written; a successful write clears it.
struct DimLists {
  std::array<std::vector<TDim>, WallpaperStyleCount> Lists;
  bool DimsModified = false;
};

// A rule's place: the style whose list holds it and its position there.
struct DimPosition {
  uint8_t style = 0;
  std::size_t index = 0;

  bool operator==(const DimPosition&) const = default;
};

std::size_t DimCount(const DimLists& dims, uint8_t style);

// The text of the rule at the position; the position must exist.
const std::string& DimTextAt(const DimLists& dims, uint8_t style, std::size_t index);

// True when the style's list cannot take another rule (or the style is not a
// style code).
bool DimListIsFull(const DimLists& dims, uint8_t style);

// Inserts the rule at its sorted position (after rules with the same text)
// and gives that position. A full list refuses the rule: nothing, and
// nothing changes; the dialog then shows TooManyDimsMessage.
std::optional<std::size_t> AddDim(DimLists& dims, uint8_t style, TDim dim);

// The rule at the position takes the new rule's numbers and text and moves
// to its sorted position, which is given back. Nothing for a position that
// does not exist. A rule replaced by an equal one stays where it is and
// leaves DimsModified as it was.
std::optional<std::size_t> ReplaceDim(DimLists& dims, uint8_t style, std::size_t index,
                                      const TDim& dim);

// Deletes the rule at the position; false when there is none.
bool DeleteDim(DimLists& dims, uint8_t style, std::size_t index);

// ---------------------------------------------------------------------------
// The file dims.dat

inline constexpr std::string_view DimsFileName = "dims.dat";
inline constexpr std::string_view DimsFileHeader = ";kel dims file";
inline constexpr std::string_view DimsDontModifyLine = ";Don't modify this file";
// The section heads, in style order.
inline constexpr std::array<std::string_view, WallpaperStyleCount> DimsSectionHeads = {
    "[Stretch]", "[Center]", "[Tile]", "[Fit Width]", "[Fit Height]", "[Fit Window]"};

// The messages of reading dims.dat at start.
// No file: an empty one is created; an OK box without an icon.
inline constexpr const char* DimsNotFoundMessage = "File dims.dat not found";
inline constexpr const char* DimsNotFoundCaption = "Initialization error";
// A wrong first line: nothing is read; an OK box with the error icon.
inline constexpr const char* DimsWrongFormatMessage = "Invalid format of pictures sizes file";
inline constexpr const char* DimsWrongFormatCaption = "Initialization";
// The caption of the set-style dialog's messages about a rule it refuses.
inline constexpr const char* DimInputErrorCaption = "Input error";
// The dialog refuses a rule for a full list; an OK box without an icon.
inline constexpr const char* TooManyDimsMessage = "A style can have at most 255 sizes";
inline constexpr const char* TooManyDimsCaption = DimInputErrorCaption;

enum class DimsFileStatus {
  Read,         // the header was right; rules (possibly none) were read
  Empty,        // an empty file (or one that ends at once with Ctrl-Z): no rules, no message
  WrongHeader,  // the first line is not the header: no rules; show DimsWrongFormatMessage
};

// Lines that are neither a comment, a section head nor a rule are passed
// over without a message; a rule beyond the 255th of its list is passed over
// too. None of them comes back when the file is next written.
enum class DimsLineProblem {
  EmptyLine,
  BeforeFirstSection,  // a rule line before any section head
  NotARule,            // not in the rule text form (see DimFromText)
  ListFull,            // the section's list already holds 255 rules
};

struct DimsLineIssue {
  std::size_t line = 0;  // 1-based
  DimsLineProblem problem = DimsLineProblem::NotARule;

  bool operator==(const DimsLineIssue&) const = default;
};

// The most skipped lines a reading names: a huge file of blank lines must not
// fill memory with their numbers.
inline constexpr std::size_t MaxDimsLineIssues = 100;

struct DimsFileResult {
  DimsFileStatus status = DimsFileStatus::Read;
  DimLists dims;                       // DimsModified clear
  std::vector<DimsLineIssue> skipped;  // the first MaxDimsLineIssues of them
};

// Reads the text of dims.dat, after a UTF-8 byte-order mark if there is
// one. Lines end at LF, a CR before it is dropped, and a Ctrl-Z ends the
// text. A line starting with ";" is a comment; a line equal to a section
// head makes that style's list the current one; every other line is a rule
// of the current list, inserted at its sorted position.
DimsFileResult ParseDimsFile(std::string_view text);

// The whole file for the lists, CR LF line ends: the two header lines, then
// for each style with rules its section head and its rules' texts in order.
std::string FormatDimsFile(const DimLists& dims);

// ---------------------------------------------------------------------------
// Choosing a style

// The rule settings that choose a picture's style: the enable flag of each
// style and the mode AutoStyleType (0 chooses by size; 1 to 6 give every
// picture the style AutoStyleType - 1; any other value chooses by size, as
// no "all" button stands for it).
struct StyleRuleSettings {
  std::array<bool, WallpaperStyleCount> enabled = {true, true, true, true, true, true};
  uint8_t AutoStyleType = 0;
};

// The style every picture gets in the mode "all"; nothing when the mode
// chooses by size (AutoStyleType 0, or a stored value above 6 that no
// button stands for).
std::optional<uint8_t> AllModeStyle(const StyleRuleSettings& settings);

// Among the enabled styles with a rule that matches the size, the one with
// the highest code; nothing when no enabled style has one.
std::optional<uint8_t> StyleBySize(const DimLists& dims,
                                   const std::array<bool, WallpaperStyleCount>& enabled,
                                   uint16_t width, uint16_t height);

// The style the rule settings give a picture: the mode's one style, or the
// style chosen by size; nothing when neither applies.
std::optional<uint8_t> StyleFromRules(const DimLists& dims, const StyleRuleSettings& settings,
                                      uint16_t width, uint16_t height);

// The style of a picture added to the list (called only when StyleSetForNew
// is on): StyleFromRules, or else the style selected in the main window's
// style box. When no style is selected there (or it is not a style code),
// stretch.
uint8_t StyleForNewPicture(const DimLists& dims, const StyleRuleSettings& settings, uint16_t width,
                           uint16_t height, std::optional<uint8_t> boxStyle);

// ---------------------------------------------------------------------------
// Checking a new rule against the held ones

// Outer includes inner on both axes. On an axis with no range in outer the
// lower bounds must be equal; otherwise inner's bounds lie within outer's,
// bounds included.
bool DimIncludes(const TDim& outer, const TDim& inner);

// The existing rule crosses the new one on both axes: on an axis where the
// new rule has no range their lower bounds are equal; otherwise either bound
// of the existing rule, as stored, lies within the new rule's range.
bool DimCrosses(const TDim& existing, const TDim& added);

enum class DimCheckMode { Add, Change };

struct DimCheckResult {
  bool proceed = true;  // false: the caller must not add or change the rule
  // The rules deleted on the user's Yes, in order, each position as it stood
  // when the rule was deleted: the dialog deletes the same lines from its
  // list boxes in this order. They stay deleted also when proceed is false.
  std::vector<DimPosition> deleted;
};

// When checking is on (StyleCheckCrossIncluding), asks about the held rules
// that the new rule includes, that include it or that it crosses, list by
// list in style order, and deletes those the user says to delete (setting
// DimsModified). For each list, first the including pass: a rule the new one
// includes gets "... includes <rule>. Delete?" (Yes, No, Cancel: Cancel
// aborts, Yes deletes it and goes on with the next rule); one that includes
// the new rule gets "... is including <rule>. <verb> anyway?" (Yes, No: No
// aborts). Then the crossing pass: a rule the new one crosses gets
// "... crossing <rule>. Delete?" (Yes, No, Cancel).
//
// In Change mode `changing` names the rule being changed: both passes pass it
// over, and its index is moved down when rules before it are deleted, so it
// still names the same rule afterwards. Only that rule is passed over: rules
// merely selected in the dialog's other lists, or in Add mode, are real rules
// and are asked about like all others.
DimCheckResult CheckCrossIncluding(DimLists& dims, const TDim& newDim, DimCheckMode mode,
                                   std::optional<DimPosition>& changing, bool checkEnabled,
                                   Prompter& prompter);

// The parts of the questions, and their caption.
inline constexpr const char* DimQuestionCaption = "Confirmation";
inline constexpr std::string_view DimQuestionStart = "This image size ";
inline constexpr std::string_view DimIncludesWords = "includes ";
inline constexpr std::string_view DimIsIncludingWords = "is including ";
inline constexpr std::string_view DimCrossingWords = "crossing ";
inline constexpr std::string_view DimDeleteQuestionEnd = ". Delete?";
inline constexpr std::string_view DimAnywayQuestionEnd = " anyway?";
inline constexpr std::string_view DimAddVerb = "Add";
inline constexpr std::string_view DimChangeVerb = "Change";

}  // namespace seltane
