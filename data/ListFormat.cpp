#include "data/ListFormat.h"

#include <algorithm>
#include <charconv>
#include <numeric>
#include <unordered_map>

#include "data/PathText.h"

namespace seltane {
namespace {

constexpr std::string_view LineEnd = "\r\n";

void AppendLine(std::string& out, std::string_view line) {
  out += line;
  out += LineEnd;
}

void AppendNumber(std::string& out, uint32_t value) {
  char digits[16];
  const auto result = std::to_chars(std::begin(digits), std::end(digits), value);
  out.append(digits, result.ptr);
}

// The distinct texts of a column in sorted order, and for every row the
// position of its text among them. Texts equal after A-Z lower-casing count
// as one and keep the spelling of the first row that has it.
struct SortedSet {
  std::vector<std::string_view> lines;
  std::vector<uint32_t> indexOfRow;
};

SortedSet BuildSortedSet(const std::vector<std::string_view>& rowTexts,
                         const std::vector<std::string>& rowKeys, TextCompare compare) {
  std::unordered_map<std::string_view, uint32_t> firstRowOfKey;
  std::vector<uint32_t> firstRows;  // one per distinct key, in row order
  std::vector<uint32_t> distinctOfRow(rowTexts.size());
  for (uint32_t row = 0; row < rowTexts.size(); ++row) {
    const auto [it, inserted] =
        firstRowOfKey.try_emplace(rowKeys[row], static_cast<uint32_t>(firstRows.size()));
    if (inserted) {
      firstRows.push_back(row);
    }
    distinctOfRow[row] = it->second;
  }
  std::vector<uint32_t> order(firstRows.size());
  std::iota(order.begin(), order.end(), 0u);
  // The key breaks ties so that texts the collation calls equal but which are
  // different folders keep a fixed order and stay apart.
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    const uint32_t rowA = firstRows[a];
    const uint32_t rowB = firstRows[b];
    const int byCollation = compare(rowTexts[rowA], rowTexts[rowB]);
    if (byCollation != 0) {
      return byCollation < 0;
    }
    return rowKeys[rowA] < rowKeys[rowB];
  });
  SortedSet set;
  std::vector<uint32_t> positionOfDistinct(order.size());
  set.lines.reserve(order.size());
  for (uint32_t position = 0; position < order.size(); ++position) {
    positionOfDistinct[order[position]] = position;
    set.lines.push_back(rowTexts[firstRows[order[position]]]);
  }
  set.indexOfRow.resize(rowTexts.size());
  for (std::size_t row = 0; row < rowTexts.size(); ++row) {
    set.indexOfRow[row] = positionOfDistinct[distinctOfRow[row]];
  }
  return set;
}

// Reads a decimal number after optional blanks, ending at a blank or at the
// end of the line. Values above maxValue are reported as out of range.
enum class NumberResult { Ok, Malformed, OutOfRange };

NumberResult ReadNumber(std::string_view& rest, uint32_t maxValue, uint32_t& value) {
  std::size_t pos = 0;
  while (pos < rest.size() && (rest[pos] == ' ' || rest[pos] == '\t')) {
    ++pos;
  }
  const std::size_t start = pos;
  uint64_t accumulated = 0;
  while (pos < rest.size() && rest[pos] >= '0' && rest[pos] <= '9') {
    if (accumulated <= maxValue) {
      accumulated = accumulated * 10 + static_cast<uint32_t>(rest[pos] - '0');
    }
    ++pos;
  }
  if (pos == start || (pos < rest.size() && rest[pos] != ' ' && rest[pos] != '\t')) {
    return NumberResult::Malformed;
  }
  rest.remove_prefix(pos);
  if (accumulated > maxValue) {
    return NumberResult::OutOfRange;
  }
  value = static_cast<uint32_t>(accumulated);
  return NumberResult::Ok;
}

}  // namespace

int CompareLowerAZ(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  const LeadBytes& lead = AnsiLeadBytes();
  // Both texts agree up to i, so a second byte of a two-byte character
  // stands at the same place in both; it keeps its case.
  bool second = false;
  for (std::size_t i = 0; i < common; ++i) {
    auto lower = [second](char c) {
      const auto u = static_cast<unsigned char>(c);
      return !second && u >= 'A' && u <= 'Z' ? u - 'A' + 'a' : u;
    };
    const int difference = lower(a[i]) - lower(b[i]);
    if (difference != 0) {
      return difference;
    }
    second = !second && lead(a[i]);
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

std::string FormatListFile(const std::vector<kelWide>& pictures,
                           const std::vector<std::string>& autoFolders, ListWriteSettings settings,
                           TextCompare compare) {
  std::string out;
  AppendLine(out, ListFileHeader);
  AppendLine(out, DontModifyLine);
  if (pictures.empty()) {
    return out;
  }

  std::vector<std::string_view> folderOfRow;
  std::vector<std::string> folderKeyOfRow;
  std::vector<std::string_view> extensionOfRow;
  std::vector<std::string> extensionKeyOfRow;
  folderOfRow.reserve(pictures.size());
  folderKeyOfRow.reserve(pictures.size());
  extensionOfRow.reserve(pictures.size());
  extensionKeyOfRow.reserve(pictures.size());
  for (const kelWide& picture : pictures) {
    folderOfRow.push_back(FolderPart(picture.FullPath));
    folderKeyOfRow.push_back(LowerAZ(folderOfRow.back()));
    extensionKeyOfRow.push_back(LowerAZ(ExtensionPart(picture.FileName)));
  }
  // Extensions are written lower-cased, so the key is also the text.
  for (const std::string& key : extensionKeyOfRow) {
    extensionOfRow.push_back(key);
  }
  const SortedSet folders = BuildSortedSet(folderOfRow, folderKeyOfRow, compare);
  const SortedSet extensions = BuildSortedSet(extensionOfRow, extensionKeyOfRow, compare);

  out.reserve(out.size() + pictures.size() * 32);
  AppendLine(out, FoldersSection);
  for (std::string_view folder : folders.lines) {
    AppendLine(out, folder);
  }
  if (settings.writeAutoFolders && !autoFolders.empty()) {
    AppendLine(out, AutoFoldersSection);
    for (const std::string& folder : autoFolders) {
      AppendLine(out, folder);
    }
  }
  AppendLine(out, ExtensionsSection);
  for (std::string_view extension : extensions.lines) {
    AppendLine(out, extension);
  }
  if (settings.storeSizes) {
    AppendLine(out, SizesStoredSection);
  }
  AppendLine(out, FilesSection);
  for (std::size_t row = 0; row < pictures.size(); ++row) {
    const kelWide& picture = pictures[row];
    AppendNumber(out, picture.Style);
    out += ' ';
    AppendNumber(out, folders.indexOfRow[row]);
    out += ' ';
    AppendNumber(out, extensions.indexOfRow[row]);
    if (settings.storeSizes) {
      out += ' ';
      AppendNumber(out, picture.Width);
      out += ' ';
      AppendNumber(out, picture.Height);
    }
    out += ' ';
    AppendLine(out, NameWithoutExtension(picture.FileName));
  }
  return out;
}

std::string UsedFlags(const std::vector<kelWide>& pictures) {
  std::string flags;
  flags.reserve(pictures.size());
  for (const kelWide& picture : pictures) {
    flags += picture.Used ? '1' : '0';
  }
  return flags;
}

std::string FormatRandomFile(std::string_view flags, bool countLineWhenEmpty) {
  std::string out;
  out.reserve(flags.size() + 64);
  AppendLine(out, RandomFileHeader);
  AppendLine(out, DontModifyLine);
  if (!flags.empty() || countLineWhenEmpty) {
    AppendNumber(out, static_cast<uint32_t>(flags.size()));
    out += LineEnd;
    out += flags;
  }
  return out;
}

ListHeaderStatus ReadListSections(LineCursor& cursor, ListSections& sections) {
  std::string_view line;
  if (!cursor.Next(line)) {
    return ListHeaderStatus::Empty;
  }
  if (line != ListFileHeader) {
    return ListHeaderStatus::WrongHeader;
  }
  if (!cursor.Skip() || !cursor.Next(line) || line != FoldersSection) {
    return ListHeaderStatus::Ok;
  }
  sections.foldersSection = true;
  for (;;) {
    if (!cursor.Next(line)) {
      return ListHeaderStatus::Ok;
    }
    if (line == ExtensionsSection || line == AutoFoldersSection) {
      break;
    }
    if (sections.folders.size() < MaxSectionLines) {
      sections.folders.push_back(line);
    }
  }
  if (line == AutoFoldersSection) {
    for (;;) {
      if (!cursor.Next(line)) {
        return ListHeaderStatus::Ok;
      }
      if (line == ExtensionsSection) {
        break;
      }
      if (sections.autoFolders.size() < MaxSectionLines) {
        sections.autoFolders.push_back(line);
      }
    }
  }
  for (;;) {
    if (!cursor.Next(line)) {
      return ListHeaderStatus::Ok;
    }
    if (line == FilesSection || line == SizesStoredSection) {
      break;
    }
    if (sections.extensions.size() < MaxSectionLines) {
      sections.extensions.push_back(line);
    }
  }
  if (line == SizesStoredSection) {
    sections.sizesPresent = true;
    // The line after it is "[Files]" as written; it is passed over unread.
    if (!cursor.Skip()) {
      return ListHeaderStatus::Ok;
    }
  }
  sections.filesFollow = true;
  return ListHeaderStatus::Ok;
}

PictureLineError ParsePictureLine(std::string_view line, bool sizesPresent, std::size_t folderCount,
                                  std::size_t extensionCount, PictureLine& picture) {
  constexpr uint32_t MaxIndex = 65535;
  std::string_view rest = line;
  uint32_t value = 0;
  switch (ReadNumber(rest, WallpaperStyleCount - 1, value)) {
    case NumberResult::Malformed:
      return PictureLineError::Malformed;
    case NumberResult::OutOfRange:
      return PictureLineError::BadStyle;
    case NumberResult::Ok:
      picture.style = static_cast<uint8_t>(value);
  }
  const NumberResult folder = ReadNumber(rest, MaxIndex, value);
  if (folder == NumberResult::Malformed) {
    return PictureLineError::Malformed;
  }
  if (folder == NumberResult::OutOfRange || value >= folderCount) {
    return PictureLineError::BadFolder;
  }
  picture.folder = static_cast<uint16_t>(value);
  const NumberResult extension = ReadNumber(rest, MaxIndex, value);
  if (extension == NumberResult::Malformed) {
    return PictureLineError::Malformed;
  }
  if (extension == NumberResult::OutOfRange || value >= extensionCount) {
    return PictureLineError::BadExtension;
  }
  picture.extension = static_cast<uint16_t>(value);
  picture.width = 0;
  picture.height = 0;
  if (sizesPresent) {
    if (ReadNumber(rest, 65535, value) != NumberResult::Ok) {
      return PictureLineError::Malformed;
    }
    picture.width = static_cast<uint16_t>(value);
    if (ReadNumber(rest, 65535, value) != NumberResult::Ok) {
      return PictureLineError::Malformed;
    }
    picture.height = static_cast<uint16_t>(value);
  }
  // The name is the rest of the line after the separating blank.
  picture.name = rest.empty() ? rest : rest.substr(1);
  return PictureLineError::None;
}

std::string PicturePath(const ListSections& sections, const PictureLine& picture) {
  std::string path = JoinPath(sections.folders[picture.folder], picture.name);
  path += '.';
  path += sections.extensions[picture.extension];
  return path;
}

std::size_t PicturePathLength(const ListSections& sections, const PictureLine& picture) {
  return sections.folders[picture.folder].size() + 1 + picture.name.size() + 1 +
         sections.extensions[picture.extension].size();
}

std::string_view PictureLineErrorText(PictureLineError error) {
  switch (error) {
    case PictureLineError::None:
      return "no error";
    case PictureLineError::Malformed:
      return "the line is not a picture line";
    case PictureLineError::BadStyle:
      return "the style code is not 0 to 5";
    case PictureLineError::BadFolder:
      return "the folder index names no folder";
    case PictureLineError::BadExtension:
      return "the extension index names no extension";
  }
  return "unknown error";
}

std::optional<uint32_t> ParseDecimal(std::string_view text, uint32_t maxValue) {
  std::string_view rest = text;
  uint32_t value = 0;
  if (ReadNumber(rest, maxValue, value) != NumberResult::Ok ||
      rest.find_first_not_of(" \t") != std::string_view::npos) {
    return std::nullopt;
  }
  return value;
}

std::optional<RandomFileView> ReadRandomFile(std::string_view text) {
  LineCursor cursor(text);
  std::string_view line;
  if (!cursor.Next(line) || line != RandomFileHeader || !cursor.Skip() || !cursor.Next(line)) {
    return std::nullopt;
  }
  // The count only reserves room, so a count line that is no plain number
  // costs nothing but that: the marks after it are read all the same.
  const std::optional<uint32_t> count = ParseDecimal(line, UINT32_MAX - 1);
  return RandomFileView{count.value_or(0), cursor.Rest()};
}

}  // namespace seltane
