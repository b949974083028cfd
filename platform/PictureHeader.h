// Width and height of a picture from the first bytes of its file.
//
// Adding pictures to a list records each one's size. Reading it from the
// file's header is thousands of times faster than decoding the picture, and
// gives the size a full decode reports. Formats: JPEG, Windows bitmaps,
// icons, enhanced metafiles and placeable Windows metafiles, told apart by
// their first bytes.
//
// Most headers sit in the first few hundred bytes, but a JPEG's frame header
// may follow large APPn segments (EXIF data, thumbnails, colour profiles).
// The parser therefore works on a prefix of the file and, when that is too
// short, says how long a prefix it needs next; ReadPictureSize does that loop
// over a reader callback.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace seltane {

enum class PictureFormat { Jpeg, Bitmap, Icon, EnhancedMetafile, PlaceableMetafile };

// The size in pixels, both at least 1.
struct PictureHeaderSize {
  PictureFormat format = PictureFormat::Jpeg;
  int32_t width = 0;
  int32_t height = 0;

  bool operator==(const PictureHeaderSize&) const = default;
};

// How much of a file the parser is willing to look at: JPEG segments before
// the frame header are skipped up to here, and a file whose size is not
// found within it has none.
inline constexpr std::size_t MaxPictureHeaderBytes = std::size_t{1} << 20;

// Enough for every header but a JPEG's with large segments before its frame.
inline constexpr std::size_t FirstPictureHeaderRead = 1024;

enum class PictureHeaderStatus {
  Found,          // `size` holds the picture's size
  NeedMoreBytes,  // the prefix ends too early; see `bytesNeeded`
  NoSize,         // not one of the formats, damaged, or a size of 0 or out of range
};

struct PictureHeaderResult {
  PictureHeaderStatus status = PictureHeaderStatus::NoSize;
  PictureHeaderSize size;
  // With NeedMoreBytes: the prefix length (counted from the start of the
  // file) the next attempt needs at least; more than the prefix given and
  // never more than MaxPictureHeaderBytes.
  std::size_t bytesNeeded = 0;
};

// Parses the first bytes of a file. Never reads outside `prefix`. A prefix
// that ends early gives NeedMoreBytes or the same answer the whole file gives.
PictureHeaderResult ParsePictureHeader(std::span<const uint8_t> prefix);

// The size of the picture whose whole file is `file`: a file that ends before
// its size is complete has none.
std::optional<PictureHeaderSize> PictureSizeFromBytes(std::span<const uint8_t> file);

// Reads up to `into.size()` bytes from the file at `offset` and returns how
// many it read: fewer only at the end of the file or when reading fails.
using PictureByteReader = std::function<std::size_t(uint64_t offset, std::span<uint8_t> into)>;

// Reads a file's first FirstPictureHeaderRead bytes, then more only as far as
// the parser asks (with a little to spare), never past MaxPictureHeaderBytes.
std::optional<PictureHeaderSize> ReadPictureSize(const PictureByteReader& read);

}  // namespace seltane
