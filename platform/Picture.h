// Decoding of picture files: JPEG (through libjpeg-turbo), Windows
// bitmaps, icons and metafiles, told apart by their first bytes rather than
// by the file name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace seltane {

struct PictureSize {
  int32_t width = 0;
  int32_t height = 0;
};

// A decoded picture: 32-bit pixels in the order blue, green, red, alpha
// (always 255), rows top-down without padding.
struct Picture {
  PictureSize stored;  // the size the file describes
  int32_t width = 0;   // the decoded size: `stored`, or smaller when reduced
  int32_t height = 0;  // while decoding
  std::unique_ptr<uint8_t[]> pixels;

  std::ptrdiff_t Stride() const { return static_cast<std::ptrdiff_t>(width) * 4; }
};

enum class PictureError {
  None,
  CannotOpen,   // missing, unreadable, or a folder
  NotAPicture,  // neither a JPEG nor a Windows bitmap
  Unsupported,  // a bitmap or JPEG variant this decoder does not handle
  Damaged,      // truncated or inconsistent data
  TooLarge,     // over the pixel limit, or needing too much memory to decode
  OutOfMemory,
};

// 64 Mi pixels: 256 MiB decoded, which a 32-bit process can still hold.
inline constexpr uint64_t DefaultMaxPicturePixels = uint64_t{64} << 20;

struct DecodeOptions {
  // Pictures whose decoded pixels would be more than this are refused.
  uint64_t maxPixels = DefaultMaxPicturePixels;
  // Optional: given the stored size, the size the picture will be drawn at.
  // A JPEG is then decoded reduced by the smallest of libjpeg's factors
  // (1/8 to 8/8) that still gives at least that size in both directions, so
  // a large photo shown small costs a fraction of the time and memory.
  std::function<PictureSize(PictureSize stored)> drawnSize;
  // Optional: called while a JPEG decodes, with the picture so far and how
  // many of its top rows are complete, so that it can be drawn as it comes.
  std::function<void(const Picture& partial, int32_t rows)> rowsDecoded;
};

// Decodes the file. On failure `picture` is left empty and the error says
// why; never throws.
PictureError DecodePictureFile(const std::wstring& path, const DecodeOptions& options,
                               Picture& picture);

// The same for a file's bytes already in memory.
PictureError DecodePicture(const uint8_t* data, std::size_t size, const DecodeOptions& options,
                           Picture& picture);

// The picture's size from its file's header alone (JPEG, bitmap, icon,
// enhanced or placeable metafile), reading only the bytes the header needs;
// nothing when the file cannot be read or is none of these.
std::optional<PictureSize> MeasurePictureFile(const std::wstring& path);

// A short English description, for logs and test messages.
const char* PictureErrorText(PictureError error);

}  // namespace seltane
