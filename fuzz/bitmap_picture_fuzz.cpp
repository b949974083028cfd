// Feeds arbitrary bytes to the bitmap and icon decoder, as a file that the
// examination found showable, and checks the picture it makes: the size the
// examination gave, every pixel opaque.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/BitmapPicture.h"

using namespace seltane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::span<const uint8_t> file(data, size);
  DecodeOptions options;
  options.maxPixels = 1 << 20;  // large enough for any header, small enough to stay quick
  const PictureHeaderResult examined = ExaminePicture(file, options.maxPixels);
  if (examined.verdict != PictureError::None || (examined.header.format != PictureFormat::Bitmap &&
                                                 examined.header.format != PictureFormat::Icon)) {
    return 0;
  }
  Picture picture;
  const PictureError error =
      DecodeBitmapPicture(file.first(static_cast<std::size_t>(examined.header.bytesNeeded)),
                          examined.header, options, picture);
  if (error != PictureError::None) {
    if (picture.pixels || error != PictureError::Damaged) {
      std::abort();  // only run-length data can turn out damaged
    }
    return 0;
  }
  if (picture.width != examined.header.width || picture.height != examined.header.height ||
      !picture.pixels || !picture.Whole()) {
    std::abort();
  }
  const std::size_t bytes = static_cast<std::size_t>(picture.width) * picture.height * 4;
  for (std::size_t alpha = 3; alpha < bytes; alpha += 4) {
    if (picture.pixels[alpha] != 255) {
      std::abort();
    }
  }
  return 0;
}
