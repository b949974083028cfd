#include "data/PathText.h"

#include <algorithm>

namespace seltane {
namespace {

LeadBytes& CurrentAnsiLeadBytes() {
  static LeadBytes lead;
  return lead;
}

// Calls visit(position) for the first byte of each character, in order.
template <class Visit>
void EachCharacter(std::string_view text, const LeadBytes& lead, Visit visit) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    visit(i);
    if (lead(text[i]) && i + 1 < text.size()) {
      ++i;
    }
  }
}

// The position of the last character that is one of the single-byte
// characters given, or npos.
std::size_t LastCharacterOf(std::string_view text, std::string_view characters,
                            const LeadBytes& lead) {
  if (!lead.Any()) {
    return text.find_last_of(characters);
  }
  std::size_t last = std::string_view::npos;
  EachCharacter(text, lead, [&](std::size_t i) {
    if (characters.find(text[i]) != std::string_view::npos) {
      last = i;
    }
  });
  return last;
}

}  // namespace

LeadBytes LeadBytes::ForCodePage(unsigned codePage) {
  const auto within = [](unsigned char byte, unsigned low, unsigned high) {
    return byte >= low && byte <= high;
  };
  switch (codePage) {
    case 932:
      return From([&](unsigned char b) { return within(b, 0x81, 0x9F) || within(b, 0xE0, 0xFC); });
    case 936:
    case 949:
    case 950:
      return From([&](unsigned char b) { return within(b, 0x81, 0xFE); });
    case 1361:
      return From([&](unsigned char b) {
        return within(b, 0x84, 0xD3) || within(b, 0xD8, 0xDE) || within(b, 0xE0, 0xF9);
      });
    default:
      return {};
  }
}

const LeadBytes& AnsiLeadBytes() {
  return CurrentAnsiLeadBytes();
}

void SetAnsiLeadBytes(const LeadBytes& lead) {
  CurrentAnsiLeadBytes() = lead;
}

std::size_t LastBackslash(std::string_view path, const LeadBytes& lead) {
  return LastCharacterOf(path, "\\", lead);
}

std::size_t LastSeparator(std::string_view path, const LeadBytes& lead) {
  return LastCharacterOf(path, "\\/", lead);
}

bool EndsInBackslash(std::string_view path, const LeadBytes& lead) {
  return !path.empty() && LastBackslash(path, lead) == path.size() - 1;
}

std::string LowerAZ(std::string_view text, const LeadBytes& lead) {
  std::string lower(text);
  EachCharacter(lower, lead, [&](std::size_t i) {
    char& c = lower[i];
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  });
  return lower;
}

std::string_view FolderPart(std::string_view path, const LeadBytes& lead) {
  const auto slash = LastBackslash(path, lead);
  if (slash == std::string_view::npos) {
    return {};
  }
  // "D:\x" keeps the backslash, so the folder still names the drive's root
  // rather than its current folder.
  const bool driveRoot = slash > 0 && path[slash - 1] == ':';
  return path.substr(0, driveRoot ? slash + 1 : slash);
}

std::string_view PathRoot(std::string_view path) {
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  if (path.size() >= 2 && path[1] == ':') {
    return path.substr(0, path.size() >= 3 && separator(path[2]) ? 3 : 2);
  }
  if (path.size() < 3 || !separator(path[0]) || !separator(path[1])) {
    return {};
  }
  // \\server\share: up to the separator after the share's name.
  std::size_t end = 2;
  for (int part = 0; part < 2 && end <= path.size(); ++part) {
    while (end < path.size() && !separator(path[end])) {
      end += AnsiLeadBytes()(path[end]) ? 2 : 1;
    }
    if (part == 0) {
      ++end;
    }
  }
  return path.substr(0, std::min(end, path.size()));
}

std::string JoinPath(std::string_view folder, std::string_view name, const LeadBytes& lead) {
  std::string path;
  path.reserve(folder.size() + name.size() + 1);
  path.append(folder);
  if (!EndsInBackslash(folder, lead)) {
    path += '\\';
  }
  path.append(name);
  return path;
}

std::string_view FileNamePart(std::string_view path, const LeadBytes& lead) {
  const auto slash = LastBackslash(path, lead);
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view ExtensionPart(std::string_view fileName) {
  const auto dot = fileName.rfind('.');
  return dot == std::string_view::npos ? std::string_view{} : fileName.substr(dot + 1);
}

std::string_view NameWithoutExtension(std::string_view fileName) {
  const auto dot = fileName.rfind('.');
  return dot == std::string_view::npos ? fileName : fileName.substr(0, dot);
}

std::string ChangeExtension(std::string_view path, std::string_view newExtension,
                            const LeadBytes& lead) {
  const std::size_t nameStart = path.size() - FileNamePart(path, lead).size();
  const auto dot = path.rfind('.');
  const bool hasExtension = dot != std::string_view::npos && dot >= nameStart;
  std::string changed(path.substr(0, hasExtension ? dot : path.size()));
  changed += newExtension;
  return changed;
}

}  // namespace seltane
