#include "platform/DecodedPicture.h"

#include <algorithm>
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
      return "not a JPEG, PNG, GIF, TIFF, bitmap, icon or metafile";
    case PictureError::Unsupported:
      return "a kind of picture that is not supported";
    case PictureError::Damaged:
      return "the picture's data is damaged or cut short";
    case PictureError::TooLarge:
      return "the picture is too large";
    case PictureError::OutOfMemory:
      return "not enough memory";
    case PictureError::NoDecoder:
      return "this system has no decoder for the picture's format";
  }
  return "unknown error";
}

unsigned ReductionEighths(PictureSize stored, PictureSize wanted) {
  for (unsigned n = 1; n < 8; ++n) {
    const PictureSize reduced = ReducedSize(stored, n);
    if (reduced.width >= wanted.width && reduced.height >= wanted.height) {
      return n;
    }
  }
  return 8;
}

PictureSize ReducedSize(PictureSize stored, unsigned eighths) {
  return {static_cast<int32_t>((int64_t{stored.width} * eighths + 7) / 8),
          static_cast<int32_t>((int64_t{stored.height} * eighths + 7) / 8)};
}

PicturePart ClampedPart(PicturePart part, PictureSize stored) {
  const int64_t left = std::clamp<int64_t>(part.left, 0, stored.width - 1);
  const int64_t top = std::clamp<int64_t>(part.top, 0, stored.height - 1);
  const int64_t width = std::clamp<int64_t>(part.width, 1, stored.width - left);
  const int64_t height = std::clamp<int64_t>(part.height, 1, stored.height - top);
  return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(width),
          static_cast<int32_t>(height)};
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
