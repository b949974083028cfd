// What a picture file is, its size, and whether the decoders can show it,
// from its header alone.
//
// Adding pictures to a list records each one's size, and reading it from the
// file's header is thousands of times faster than decoding the picture. This
// is also the one place that decides which files the decoders show: they
// examine a file here before they decode it, so that a picture measured when
// it is added can be shown later, and one refused here is refused by both.
// What only the decode itself can find (damaged compressed data) stays with
// the decoders.
//
// Formats: JPEG, PNG, GIF (its first image), TIFF (its first page), Windows
// bitmaps, icons, enhanced metafiles and placeable Windows metafiles, told
// apart by their first bytes. Bytes are read through a callback at any
// offset: a JPEG's segments before its frame header (EXIF data, thumbnails,
// colour profiles, several MiB in edited photographs) are walked by their
// length fields, each segment's header read and its body passed over unread;
// so are a GIF's extension blocks before its first image, and a TIFF's first
// directory is read wherever the file puts it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "platform/DecodedPicture.h"

namespace seltane {

enum class PictureFormat {
  Jpeg,
  Bitmap,
  Icon,
  EnhancedMetafile,
  PlaceableMetafile,
  Png,
  Gif,
  Tiff
};

// PNG, GIF and TIFF are decoded by the system's imaging component.
bool DecodedByImagingComponent(PictureFormat format);

// libjpeg refuses pictures wider or higher than this.
inline constexpr int32_t MaxJpegSide = 65500;
// Files of several scans (progressive ones, and sequential ones whose colours
// come in separate scans) are decoded through buffers that hold the whole
// picture's coefficients, at any reduction; these may take this much.
inline constexpr uint64_t MaxJpegCoefficientBytes = uint64_t{384} << 20;
// libjpeg's warnings (stray bytes between segments among them) that a file
// may cause before it counts as damaged.
inline constexpr int MaxJpegWarnings = 100;
// Markers before the first scan; each segment holds at most 64 KiB, so this
// allows 256 MiB of metadata.
inline constexpr int MaxJpegMarkers = 4096;
// libpng refuses pictures wider or higher than this.
inline constexpr int64_t MaxPngSide = 1000000;
// What the imaging component may hold of a PNG's, GIF's or TIFF's stored
// samples while it decodes (Wine's PNG decoder holds them all, at their
// stored depth): no more than JPEG's coefficient buffers. Within it, a
// picture of more pixels than DecodeOptions::maxPixels is decoded reduced
// or in part, as a large JPEG is.
inline constexpr uint64_t MaxStoredSampleBytes = MaxJpegCoefficientBytes;
// Blocks and extension sub-blocks before a GIF's first image.
inline constexpr int MaxGifBlocks = 65536;
// Metafiles are drawn by GDI on a bitmap of their size, no larger than this
// either way.
inline constexpr int32_t MaxMetafileSide = 16384;

// Files that are read whole to be decoded (bitmaps, icons, metafiles) may be
// this much larger than the pixels of the largest picture allowed.
uint64_t MaxWholeFileBytes(uint64_t maxPixels);

// Where the bitmap decoder finds a device-independent bitmap's pixels: a
// bitmap file's, or those of the image an icon file shows.
struct DibLayout {
  uint16_t bitCount = 0;
  uint32_t compression = 0;  // 0 plain, 1 RLE8, 2 RLE4, 3 and 6 bit fields
  bool topDown = false;
  uint32_t masks[3] = {};  // red, green, blue of 16- and 32-bit pixels
  uint64_t paletteOffset = 0;
  uint32_t paletteCount = 0;     // at most 256
  uint8_t paletteEntrySize = 4;  // 3 in OS/2 core bitmaps
  uint64_t pixelOffset = 0;
  uint64_t maskOffset = 0;  // icons: the transparency mask, or 0 when there is none
};

struct PictureHeader {
  PictureFormat format = PictureFormat::Jpeg;
  int32_t width = 0;  // the size shown, both at least 1
  int32_t height = 0;
  // Where the first image lies in the picture: all of it, but a GIF's first
  // image may cover only part of its screen, the rest being shown black.
  PicturePart frame;
  DibLayout dib;             // bitmaps and icons
  bool progressive = false;  // JPEG
  // How much of the file's start the decoder reads: up to the end of the
  // pixels it needs, or the whole file. 0 for JPEG, PNG, GIF and TIFF, which
  // are read as they decode.
  uint64_t bytesNeeded = 0;
};

struct PictureHeaderResult {
  // None when the decoders show the picture; otherwise why they would not.
  PictureError verdict = PictureError::NotAPicture;
  PictureHeader header;
};

// Reads up to `into.size()` bytes from the file at `offset` and returns how
// many it read: fewer only at the end of the file or when reading fails.
using PictureByteReader = std::function<std::size_t(uint64_t offset, std::span<uint8_t> into)>;

// The first read takes this much; later ones, each at a segment header or an
// icon image, take a little.
inline constexpr std::size_t FirstPictureHeaderRead = 4096;

// The file's size in bytes. Asked for only where a format's checks need it
// (bitmaps, icons, metafiles): JPEG, PNG, GIF and TIFF files are examined by
// their reads alone, which saves a call per file when thousands are
// measured.
using PictureFileSize = std::function<uint64_t()>;

// Examines the file. maxPixels is the decoders' limit
// (DecodeOptions::maxPixels) for pictures that cannot be decoded reduced.
PictureHeaderResult ExaminePicture(const PictureByteReader& read, const PictureFileSize& fileSize,
                                   uint64_t maxPixels = DefaultMaxPicturePixels);

// The same for a file's bytes in memory.
PictureHeaderResult ExaminePicture(std::span<const uint8_t> file,
                                   uint64_t maxPixels = DefaultMaxPicturePixels);

}  // namespace seltane
