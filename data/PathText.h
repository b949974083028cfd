// Path helpers on 8-bit text. Paths use backslashes; nothing is normalised.
#pragma once

#include <string>
#include <string_view>

namespace seltane {

// Lower-cases the letters A to Z only: the key by which picture paths,
// folders and extensions are compared.
std::string LowerAZ(std::string_view text);

// Everything before the last backslash, except that a drive's root keeps
// its backslash ("D:\sky.bmp" gives "D:\"). Empty when the path has no
// backslash or starts with its only one ("\x.jpg").
std::string_view FolderPart(std::string_view path);

// The folder and the name joined by one backslash: a folder that already
// ends in one ("D:\") gets no second. JoinPath(FolderPart(p), FileNamePart(p))
// gives p back for every path with a backslash.
std::string JoinPath(std::string_view folder, std::string_view name);

// The drive or share a full path lies on: "D:\" for "D:\x\y.jpg" ("D:" for
// "D:x.jpg"), "\\server\share" for "\\server\share\y.jpg"; empty for a path
// without either. Backslashes and slashes both separate.
std::string_view PathRoot(std::string_view path);

// What looking a file up found: there; not there, said by a folder that
// could be read; or not known, because the drive or share (or a folder on
// the way) could not be reached.
enum class FileState { Exists, Missing, Unreachable };

// Everything after the last backslash.
std::string_view FileNamePart(std::string_view path);

// The part of a file name after its last dot, without the dot; empty when
// the name has no dot.
std::string_view ExtensionPart(std::string_view fileName);

// A file name without its last dot and extension.
std::string_view NameWithoutExtension(std::string_view fileName);

// The path with the extension of its file name replaced by newExtension
// (which starts with its dot), or with newExtension appended when the file
// name has none.
std::string ChangeExtension(std::string_view path, std::string_view newExtension);

}  // namespace seltane
