// Path helpers on 8-bit text. Paths use backslashes; nothing is normalised.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace seltane {

// The bytes that start a two-byte character in an ANSI code page. The
// second byte of such a character may be a backslash or a capital letter
// (Shift-JIS writes one character as 0x95 0x5C), so the helpers below step
// over whole characters and never take it for one of its own.
class LeadBytes {
 public:
  LeadBytes() = default;  // a code page of single bytes
  template <class IsLead>
  static LeadBytes From(IsLead isLead) {
    LeadBytes lead;
    for (unsigned byte = 0; byte < 256; ++byte) {
      lead.lead_[byte] = isLead(static_cast<unsigned char>(byte));
      lead.any_ = lead.any_ || lead.lead_[byte];
    }
    return lead;
  }
  // The lead bytes of the two-byte code pages Windows uses as ANSI code
  // pages: 932 (Japanese), 936, 949, 950 (Chinese and Korean), 1361
  // (Johab); none for any other.
  static LeadBytes ForCodePage(unsigned codePage);

  bool operator()(char byte) const { return lead_[static_cast<unsigned char>(byte)]; }
  bool Any() const { return any_; }

 private:
  std::array<bool, 256> lead_{};
  bool any_ = false;
};

// The lead bytes of the system's ANSI code page, which the helpers use
// unless given others. Single bytes until the program sets them at its start
// (UseAnsiCodePageInPaths on Windows).
const LeadBytes& AnsiLeadBytes();
void SetAnsiLeadBytes(const LeadBytes& lead);

// The position of the last backslash that is a character of its own, or npos.
std::size_t LastBackslash(std::string_view path, const LeadBytes& lead = AnsiLeadBytes());

// The position of the last backslash or slash that is a character of its
// own, or npos: the separator the file system's own paths may use as well.
std::size_t LastSeparator(std::string_view path, const LeadBytes& lead = AnsiLeadBytes());

// Whether the path's last character is a backslash.
bool EndsInBackslash(std::string_view path, const LeadBytes& lead = AnsiLeadBytes());

// Lower-cases the letters A to Z only, never the second byte of a
// two-byte character: the key by which picture paths, folders and
// extensions are compared.
std::string LowerAZ(std::string_view text, const LeadBytes& lead = AnsiLeadBytes());

// Everything before the last backslash, except that a drive's root keeps
// its backslash ("D:\sky.bmp" gives "D:\"). Empty when the path has no
// backslash or starts with its only one ("\x.jpg").
std::string_view FolderPart(std::string_view path, const LeadBytes& lead = AnsiLeadBytes());

// The folder and the name joined by one backslash: a folder that already
// ends in one ("D:\") gets no second. JoinPath(FolderPart(p), FileNamePart(p))
// gives p back for every path with a backslash.
std::string JoinPath(std::string_view folder, std::string_view name,
                     const LeadBytes& lead = AnsiLeadBytes());

// The drive or share a full path lies on: "D:\" for "D:\x\y.jpg" ("D:" for
// "D:x.jpg"), "\\server\share" for "\\server\share\y.jpg"; empty for a path
// without either. Backslashes and slashes both separate.
std::string_view PathRoot(std::string_view path);

// What looking a file up found: there; not there, said by a folder that
// could be read; or not known, because the drive or share (or a folder on
// the way) could not be reached.
enum class FileState { Exists, Missing, Unreachable };

// Everything after the last backslash.
std::string_view FileNamePart(std::string_view path, const LeadBytes& lead = AnsiLeadBytes());

// The part of a file name after its last dot, without the dot; empty when
// the name has no dot.
std::string_view ExtensionPart(std::string_view fileName);

// A file name without its last dot and extension.
std::string_view NameWithoutExtension(std::string_view fileName);

// The path with the extension of its file name replaced by newExtension
// (which starts with its dot), or with newExtension appended when the file
// name has none.
std::string ChangeExtension(std::string_view path, std::string_view newExtension,
                            const LeadBytes& lead = AnsiLeadBytes());

}  // namespace seltane
