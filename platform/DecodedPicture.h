// A decoded picture, what a decode may be asked for, and why one fails. Plain
// data shared by the decoders (the bitmap and icon ones are core code, the
// JPEG and metafile ones use Windows) and their callers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace seltane {

struct PictureSize {
  int32_t width = 0;
  int32_t height = 0;
};

// A rectangle of a picture in its stored pixels.
struct PicturePart {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;

  bool operator==(const PicturePart&) const = default;
};

// A decoded picture: 32-bit pixels in the order blue, green, red, alpha
// (always 255), rows top-down without padding.
struct Picture {
  PictureSize stored;  // the size the file describes
  int32_t width = 0;   // the decoded size: `stored`, smaller when reduced
  int32_t height = 0;  // while decoding, or the part's size
  // The part of the stored picture the pixels show: all of it, unless the
  // decode was limited to the part that is shown (DecodeOptions::shownPart).
  PicturePart part;
  std::unique_ptr<uint8_t[]> pixels;

  std::ptrdiff_t Stride() const { return static_cast<std::ptrdiff_t>(width) * 4; }
  bool Whole() const { return part == PicturePart{0, 0, stored.width, stored.height}; }
};

enum class PictureError {
  None,
  CannotOpen,   // missing, unreadable, or a folder
  NotAPicture,  // none of the formats
  Unsupported,  // a variant of a format this decoder does not handle
  Damaged,      // truncated or inconsistent data
  TooLarge,     // over the pixel limit, or needing too much memory to decode
  OutOfMemory,
  NoDecoder,  // the system's imaging component is missing or has no decoder for the format
};

// 64 Mi pixels: 256 MiB decoded, which a 32-bit process can still hold.
inline constexpr uint64_t DefaultMaxPicturePixels = uint64_t{64} << 20;

struct DecodeOptions {
  // Pictures whose decoded pixels would be more than this are refused. A
  // JPEG over it can still be had reduced (drawnSize) or in part (shownPart).
  uint64_t maxPixels = DefaultMaxPicturePixels;
  // Optional: given the stored size, the size the picture will be drawn at.
  // A JPEG is then decoded reduced by the smallest of libjpeg's factors
  // (1/8 to 8/8) that still gives at least that size in both directions, so
  // a large photo shown small costs a fraction of the time and memory.
  std::function<PictureSize(PictureSize stored)> drawnSize;
  // Optional: given the stored size, the part of the picture that is shown
  // when it is drawn at its own size (a centred or tiled picture larger than
  // the screen). A JPEG that is not reduced is then decoded in that part
  // only; Picture::part says which part the pixels hold.
  std::function<PicturePart(PictureSize stored)> shownPart;
  // Optional: called while a JPEG decodes, with the picture so far and how
  // many of its top rows are complete, so that it can be drawn as it comes.
  std::function<void(const Picture& partial, int32_t rows)> rowsDecoded;
};

// A short English description, for messages and test output.
const char* PictureErrorText(PictureError error);

// The smallest n (1 to 8) for which the picture reduced by n/8 still covers
// the wanted size, and the size it then has (rounded up, as libjpeg rounds).
// JPEGs are decoded reduced by libjpeg, the other formats that can be
// reduced by the same factors, so that all are reduced alike.
unsigned ReductionEighths(PictureSize stored, PictureSize wanted);
PictureSize ReducedSize(PictureSize stored, unsigned eighths);

// The part asked for, within the picture, at least 1 x 1.
PicturePart ClampedPart(PicturePart part, PictureSize stored);

// Takes the picture's pixels for width x height, after checking them
// against the limit; their values are left for the decoder to write.
PictureError AllocatePixels(uint64_t width, uint64_t height, uint64_t maxPixels, Picture& picture);

}  // namespace seltane
