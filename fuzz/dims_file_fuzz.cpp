// Feeds arbitrary bytes to the dims.dat reader and checks what it loaded:
// every list sorted, within its limit and made of rules whose text and
// numbers agree; a written file reads back to the same lists and the same
// text. The last bytes then answer the questions of a check of a new rule
// against those lists, which must leave them sorted and delete exactly the
// rules it reports.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/Prompter.h"
#include "styles/Dim.h"

using namespace seltane;

namespace {

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

void RequireSound(const DimLists& dims) {
  for (const auto& list : dims.Lists) {
    Require(list.size() <= MaxDimsPerList);
    Require(std::is_sorted(list.begin(), list.end(),
                           [](const TDim& a, const TDim& b) { return a.Text < b.Text; }));
    for (const TDim& dim : list) {
      Require(DimText(dim.XSizeStart, dim.XSizeEnd, dim.YSizeStart, dim.YSizeEnd) == dim.Text);
    }
  }
}

// Answers each question with the next byte of its script; Cancel when the
// script runs out.
class BytePrompter : public Prompter {
 public:
  explicit BytePrompter(std::string_view script) : script_(script) {}

  PromptAnswer Ask(const std::string&, const std::string&, PromptButtons buttons,
                   PromptIcon) override {
    Require(buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel);
    if (script_.empty()) {
      return PromptAnswer::Cancel;
    }
    const auto choice = static_cast<unsigned char>(script_.front()) % 3;
    script_.remove_prefix(1);
    return choice == 0 ? PromptAnswer::Yes
                       : (choice == 1 ? PromptAnswer::No : PromptAnswer::Cancel);
  }

 private:
  std::string_view script_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The bytes after the first NUL among the last 24 drive the check; the
  // bytes before it are the file.
  const std::size_t nul = bytes.find('\0', size > 24 ? size - 24 : 0);
  const bool withCheck = nul != std::string_view::npos;
  const std::string_view file = withCheck ? bytes.substr(0, nul) : bytes;

  DimsFileResult read = ParseDimsFile(file);
  Require(!read.dims.DimsModified);
  RequireSound(read.dims);
  if (read.status != DimsFileStatus::Read) {
    for (const auto& list : read.dims.Lists) {
      Require(list.empty());
    }
  }

  const std::string written = FormatDimsFile(read.dims);
  const DimsFileResult again = ParseDimsFile(written);
  Require(again.status == DimsFileStatus::Read && again.skipped.empty());
  Require(again.dims.Lists == read.dims.Lists);
  Require(FormatDimsFile(again.dims) == written);

  if (!withCheck) {
    return 0;
  }
  std::string_view script = bytes.substr(nul + 1);
  if (script.size() < 9) {
    return 0;
  }
  const auto number = [&](std::size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(script[at]) * 7u +
                                 static_cast<unsigned char>(script[at + 1]));
  };
  const TDim added = DimFromNumbers(number(0), number(2), number(4), number(6));
  const auto selector = static_cast<unsigned char>(script[8]);
  const bool change = (selector & 1) != 0;
  std::optional<DimPosition> changing;
  if (change) {
    const uint8_t style = static_cast<uint8_t>((selector >> 1) % WallpaperStyleCount);
    if (!read.dims.Lists[style].empty()) {
      changing = DimPosition{style, std::size_t{selector} % read.dims.Lists[style].size()};
    }
  }
  const std::optional<TDim> changed =
      changing ? std::optional<TDim>(read.dims.Lists[changing->style][changing->index])
               : std::nullopt;
  script.remove_prefix(9);

  DimLists dims = read.dims;
  BytePrompter prompter(script);
  const DimCheckResult result = CheckCrossIncluding(
      dims, added, change ? DimCheckMode::Change : DimCheckMode::Add, changing, true, prompter);
  RequireSound(dims);
  std::size_t before = 0, after = 0;
  for (uint8_t style = 0; style < WallpaperStyleCount; ++style) {
    before += read.dims.Lists[style].size();
    after += dims.Lists[style].size();
  }
  Require(before - after == result.deleted.size());
  Require(dims.DimsModified == !result.deleted.empty());
  if (changed) {
    // The rule being changed is never deleted and is still found where the
    // check says.
    Require(changing && dims.Lists[changing->style][changing->index] == *changed);
  }
  // Replaying the deletions on the old lists gives the new ones.
  DimLists replay = read.dims;
  for (const DimPosition& position : result.deleted) {
    Require(DeleteDim(replay, position.style, position.index));
  }
  Require(replay.Lists == dims.Lists);
  return 0;
}
