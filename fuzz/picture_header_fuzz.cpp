// Feeds arbitrary bytes to the picture examination, whole and cut short, and
// checks what it answers: a picture shown is at least 1 by 1 with its
// pixels inside the bytes it says it needs, the first image of a PNG, GIF or
// TIFF lies within the picture and within what its decoder may hold, and a
// cut file shown at all is shown as the whole file is (an icon may fall back
// to a smaller image whose data the cut left whole), and a file read
// through a reader that never tells its size is judged as the whole file is
// unless a format asked for the size. The seeds hold every format; the test
// runs with a small allocation limit, so a buffer sized from a damaged
// file's counts fails at once.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
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

void CheckShown(const PictureHeaderResult& result, std::size_t size) {
  if (result.verdict != PictureError::None) {
    return;
  }
  const PictureHeader& header = result.header;
  Check(header.width >= 1 && header.height >= 1);
  Check(header.bytesNeeded <= size);
  if (header.format == PictureFormat::Bitmap || header.format == PictureFormat::Icon) {
    Check(header.dib.pixelOffset <= header.bytesNeeded);
    Check(header.dib.maskOffset <= header.bytesNeeded);
  }
  const PicturePart& frame = header.frame;
  Check(frame.left >= 0 && frame.top >= 0 && frame.width >= 1 && frame.height >= 1);
  Check(int64_t{frame.left} + frame.width <= header.width);
  Check(int64_t{frame.top} + frame.height <= header.height);
  if (DecodedByImagingComponent(header.format)) {
    Check(header.bytesNeeded == 0);
    // At least a bit a pixel.
    Check(uint64_t(frame.width) * uint64_t(frame.height) / 8 <= MaxStoredSampleBytes);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const PictureHeaderResult whole = ExaminePicture(std::span<const uint8_t>(data, size));
  CheckShown(whole, size);

  // A prefix in a buffer of its own, so a read past it is caught.
  const std::size_t cut = size == 0 ? 0 : data[size - 1] % (size + 1);
  const std::vector<uint8_t> prefix(data, data + cut);
  const PictureHeaderResult part = ExaminePicture(prefix);
  CheckShown(part, cut);
  if (part.verdict == PictureError::None && part.header.format != PictureFormat::Icon) {
    Check(whole.verdict == PictureError::None);
    Check(whole.header.width == part.header.width && whole.header.height == part.header.height);
  }

  // The end found by short reads alone; a format that needs the size is
  // told a size no file has and must not trust it.
  bool sizeAsked = false;
  const PictureHeaderResult unsized = ExaminePicture(
      [&](uint64_t offset, std::span<uint8_t> into) {
        const std::size_t count =
            offset >= size ? 0 : std::min<std::size_t>(into.size(), size - offset);
        std::copy(data + offset, data + offset + count, into.data());
        return count;
      },
      [&] {
        sizeAsked = true;
        return UINT64_MAX;
      });
  if (!sizeAsked) {
    Check(unsized.verdict == whole.verdict);
    CheckShown(unsized, size);
    Check(unsized.header.width == whole.header.width &&
          unsized.header.height == whole.header.height);
  }
  return 0;
}
