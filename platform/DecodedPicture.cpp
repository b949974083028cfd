#include "platform/DecodedPicture.h"

#include <cstdint>
#include <new>

namespace seltane {

const char* PictureErrorText(PictureError error) {
  switch (error) {
    case PictureError::None:
      return "no error";
    case PictureError::CannotOpen:
      return "the file cannot be opened";
    case PictureError::NotAPicture:
      return "not a JPEG, bitmap, icon or metafile";
    case PictureError::Unsupported:
      return "a kind of picture that is not supported";
    case PictureError::Damaged:
      return "the picture's data is damaged or cut short";
    case PictureError::TooLarge:
      return "the picture is too large";
    case PictureError::OutOfMemory:
      return "not enough memory";
  }
  return "unknown error";
}

PictureError AllocatePixels(uint64_t width, uint64_t height, uint64_t maxPixels, Picture& picture) {
  const uint64_t count = width * height;
  if (count > maxPixels || count > SIZE_MAX / 4) {
    return PictureError::TooLarge;
  }
  picture.width = static_cast<int32_t>(width);
  picture.height = static_cast<int32_t>(height);
  if (count == 0) {
    return PictureError::None;
  }
  // Not value-initialised: every pixel is written by the decoder, and a large
  // picture's pages are only touched as its rows arrive.
  picture.pixels.reset(new (std::nothrow) uint8_t[static_cast<std::size_t>(count) * 4]);
  return picture.pixels ? PictureError::None : PictureError::OutOfMemory;
}

}  // namespace seltane
