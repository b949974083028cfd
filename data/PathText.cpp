#include "data/PathText.h"

#include <algorithm>

namespace seltane {

std::string LowerAZ(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return lower;
}

std::string_view FolderPart(std::string_view path) {
  const auto slash = path.rfind('\\');
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
      ++end;
    }
    if (part == 0) {
      ++end;
    }
  }
  return path.substr(0, std::min(end, path.size()));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path;
  path.reserve(folder.size() + name.size() + 1);
  path.append(folder);
  if (path.empty() || path.back() != '\\') {
    path += '\\';
  }
  path.append(name);
  return path;
}

std::string_view FileNamePart(std::string_view path) {
  const auto slash = path.rfind('\\');
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

std::string ChangeExtension(std::string_view path, std::string_view newExtension) {
  const std::size_t nameStart = path.size() - FileNamePart(path).size();
  const auto dot = path.rfind('.');
  const bool hasExtension = dot != std::string_view::npos && dot >= nameStart;
  std::string changed(path.substr(0, hasExtension ? dot : path.size()));
  changed += newExtension;
  return changed;
}

}  // namespace seltane
