// The list file and random file formats as pure functions from text to data
// and back. Both programs read these files; only the text is handled here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/LineCursor.h"
#include "data/PictureEntry.h"

namespace seltane {

inline constexpr std::string_view ListFileHeader = ";kel list file";
inline constexpr std::string_view RandomFileHeader = ";kel random file";
inline constexpr std::string_view DontModifyLine = ";Don't modify this file";
inline constexpr std::string_view FoldersSection = "[Folders]";
inline constexpr std::string_view AutoFoldersSection = "[Auto folders]";
inline constexpr std::string_view ExtensionsSection = "[Extensions]";
inline constexpr std::string_view SizesStoredSection = "[Sizes stored]";
inline constexpr std::string_view FilesSection = "[Files]";
inline constexpr std::string_view RandomFileExtension = ".rnd";

// Orders two texts: negative, zero or positive. The Windows build passes the
// user's locale collation ignoring case; this one compares bytes with A-Z
// folded to lower case.
using TextCompare = int (*)(std::string_view, std::string_view);
int CompareLowerAZ(std::string_view a, std::string_view b);

struct ListWriteSettings {
  bool writeAutoFolders = false;  // AutoSearch or AutoDelete is on
  bool storeSizes = false;
};

// The whole list file for these pictures, CR LF line ends.
std::string FormatListFile(const std::vector<kelWide>& pictures,
                           const std::vector<std::string>& autoFolders, ListWriteSettings settings,
                           TextCompare compare);

// "1" or "0" per picture, in list order.
std::string UsedFlags(const std::vector<kelWide>& pictures);

// The whole random file. The count line and the flags (without a line end)
// follow the two header lines when there are flags, or always when
// countLineWhenEmpty is set.
std::string FormatRandomFile(std::string_view flags, bool countLineWhenEmpty);

// The most lines a section's table keeps: indexes are 16-bit, so no picture
// line names a line after these, and no list watches as many folders. The
// lines after them are passed over, so that a huge file cannot fill memory.
inline constexpr std::size_t MaxSectionLines = 65536;

// The longest picture path a list may give. Windows opens paths of at most
// 259 characters through the A functions, two bytes each at most; kel holds
// up to 65,535 of them, so a hostile list cannot make them fill memory.
inline constexpr std::size_t MaxListPathBytes = 1024;

// The sections before the picture lines.
struct ListSections {
  std::vector<std::string_view> folders;
  std::vector<std::string_view> autoFolders;
  std::vector<std::string_view> extensions;
  bool foldersSection = false;  // line 3 is "[Folders]"
  bool sizesPresent = false;
  bool filesFollow = false;  // the cursor stands before the first picture line
};

enum class ListHeaderStatus { Ok, Empty, WrongHeader };

// Reads the list file's sections up to the picture lines. Ok covers a file
// whose line 3 is not "[Folders]" or that ends before its picture lines:
// then filesFollow is false.
ListHeaderStatus ReadListSections(LineCursor& cursor, ListSections& sections);

struct PictureLine {
  uint8_t style = 0;
  uint16_t folder = 0;
  uint16_t extension = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  std::string_view name;
};

enum class PictureLineError { None, Malformed, BadStyle, BadFolder, BadExtension };

// Parses one picture line: style, folder index, extension index, the sizes
// when present, each a decimal number after optional blanks, then the rest of
// the line without its first character as the name.
PictureLineError ParsePictureLine(std::string_view line, bool sizesPresent, std::size_t folderCount,
                                  std::size_t extensionCount, PictureLine& picture);

// The full path of a picture line: its folder line and its name with the
// extension line joined on.
std::string PicturePath(const ListSections& sections, const PictureLine& picture);

// The length PicturePath gives, at most one byte more.
std::size_t PicturePathLength(const ListSections& sections, const PictureLine& picture);

// Short English reason for a picture line error, for messages.
std::string_view PictureLineErrorText(PictureLineError error);

// A random file as kel accepts it: the header line, a line after the comment
// line holding the count (0 when it is no plain number), and the flag
// characters after it.
struct RandomFileView {
  uint32_t count = 0;
  std::string_view flags;
};
std::optional<RandomFileView> ReadRandomFile(std::string_view text);

// Parses a whole line as a decimal number of at most maxValue; blanks may
// stand around it.
std::optional<uint32_t> ParseDecimal(std::string_view text, uint32_t maxValue);

}  // namespace seltane
