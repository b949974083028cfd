// Feeds arbitrary bytes to the picture header parser, whole and cut short,
// and through the incremental reader, and checks that the answers agree: a
// size is at least 1 by 1, a request for more bytes asks for more than it
// had and no more than the limit, a prefix gives either such a request or the
// whole file's answer, and reading on as asked gives the whole file's answer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "platform/PictureHeader.h"

using namespace seltane;

namespace {

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

void CheckResult(const PictureHeaderResult& result, std::size_t size) {
  switch (result.status) {
    case PictureHeaderStatus::Found:
      Check(result.size.width >= 1 && result.size.height >= 1);
      break;
    case PictureHeaderStatus::NeedMoreBytes:
      Check(result.bytesNeeded > size && result.bytesNeeded <= MaxPictureHeaderBytes);
      break;
    case PictureHeaderStatus::NoSize:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::span<const uint8_t> file(data, size);
  const PictureHeaderResult whole = ParsePictureHeader(file);
  CheckResult(whole, size);

  // A prefix in a buffer of its own, so a read past it is caught.
  const std::size_t cut = size == 0 ? 0 : data[size - 1] % (size + 1);
  const std::vector<uint8_t> prefix(data, data + cut);
  const PictureHeaderResult part = ParsePictureHeader(prefix);
  CheckResult(part, cut);
  if (part.status != PictureHeaderStatus::NeedMoreBytes) {
    Check(part.status == whole.status);
    Check(part.status != PictureHeaderStatus::Found || part.size == whole.size);
  }

  const std::optional<PictureHeaderSize> read =
      ReadPictureSize([file](uint64_t offset, std::span<uint8_t> into) -> std::size_t {
        if (offset >= file.size()) {
          return 0;
        }
        const std::size_t count = std::min<std::size_t>(into.size(), file.size() - offset);
        std::memcpy(into.data(), file.data() + offset, count);
        return count;
      });
  Check(read == PictureSizeFromBytes(file));
  Check(read.has_value() == (whole.status == PictureHeaderStatus::Found));
  return 0;
}
