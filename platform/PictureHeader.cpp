#include "platform/PictureHeader.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace seltane {
namespace {

using Bytes = std::span<const uint8_t>;
using Status = PictureHeaderStatus;

// Callers check the bounds before reading.
uint16_t Le16(Bytes b, std::size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
uint32_t Le32(Bytes b, std::size_t at) {
  return static_cast<uint32_t>(Le16(b, at)) | static_cast<uint32_t>(Le16(b, at + 2)) << 16;
}
int32_t LeSigned32(Bytes b, std::size_t at) {
  return static_cast<int32_t>(Le32(b, at));
}
int16_t LeSigned16(Bytes b, std::size_t at) {
  return static_cast<int16_t>(Le16(b, at));
}
uint16_t Be16(Bytes b, std::size_t at) {
  return static_cast<uint16_t>(b[at] << 8 | b[at + 1]);
}

PictureHeaderResult NoSize() {
  return {};
}

PictureHeaderResult NeedMore(std::size_t bytes) {
  if (bytes > MaxPictureHeaderBytes) {
    return NoSize();
  }
  PictureHeaderResult result;
  result.status = Status::NeedMoreBytes;
  result.bytesNeeded = bytes;
  return result;
}

PictureHeaderResult Found(PictureFormat format, int64_t width, int64_t height) {
  constexpr int64_t limit = std::numeric_limits<int32_t>::max();
  if (width < 1 || height < 1 || width > limit || height > limit) {
    return NoSize();
  }
  PictureHeaderResult result;
  result.status = Status::Found;
  result.size = {format, static_cast<int32_t>(width), static_cast<int32_t>(height)};
  return result;
}

// a * b / c rounded to the nearest, halves up, as MulDiv does for positive
// values; a and b below 2^32, so a * b fits and the rounding never overflows.
uint64_t MulDivRounded(uint64_t a, uint64_t b, uint64_t c) {
  const uint64_t product = a * b;
  const uint64_t remainder = product % c;
  return product / c + (remainder >= c - remainder ? 1 : 0);
}

// JPEG: the markers from SOI to the first frame header (SOFn), walked the
// way libjpeg reads them, so a file gets a size exactly when the decoder
// would get past its frame header. Bytes other than 0xFF between segments are
// skipped (the decoder warns and goes on), so are fill bytes (runs of 0xFF)
// and stuffed zeros (FF 00).
PictureHeaderResult ParseJpeg(Bytes b) {
  std::size_t pos = 2;  // after SOI
  for (;;) {
    while (pos < b.size() && b[pos] != 0xFF) {
      ++pos;
    }
    while (pos < b.size() && b[pos] == 0xFF) {
      ++pos;
    }
    if (pos >= b.size()) {
      return NeedMore(pos + 1);
    }
    const uint8_t marker = b[pos];
    const std::size_t segment = pos + 1;  // the length field, where there is one
    if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
      pos = segment;  // stuffed zero, TEM, RSTn: nothing follows
      continue;
    }
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      // Length, precision, height, width, component count.
      if (b.size() < segment + 8) {
        return NeedMore(segment + 8);
      }
      const uint16_t length = Be16(b, segment);
      const uint16_t height = Be16(b, segment + 3);
      const uint16_t width = Be16(b, segment + 5);
      const uint8_t components = b[segment + 7];
      if (components == 0 || length != 8 + 3 * components) {
        return NoSize();
      }
      return Found(PictureFormat::Jpeg, width, height);
    }
    // Segments with a length the decoder reads past: DHT, DAC, DQT, DNL, DRI,
    // APPn, COM. Anything else before the frame header (a second SOI, EOI,
    // SOS, JPG, the hierarchical and reserved markers) stops the decoder.
    const bool skipped = marker == 0xC4 || marker == 0xCC || (marker >= 0xDB && marker <= 0xDD) ||
                         (marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE;
    if (!skipped) {
      return NoSize();
    }
    if (b.size() < segment + 2) {
      return NeedMore(segment + 2);
    }
    const uint16_t length = Be16(b, segment);
    if (length < 2) {
      return NoSize();
    }
    pos = segment + length;
  }
}

// Windows bitmap: the file header (14 bytes), then the size of the info
// header that follows, which says its kind.
PictureHeaderResult ParseBitmap(Bytes b) {
  constexpr std::size_t info = 14;
  if (b.size() < info + 4) {
    return NeedMore(info + 4);
  }
  const uint32_t infoSize = Le32(b, info);
  if (infoSize == 12) {  // BITMAPCOREHEADER: unsigned 16-bit sizes, bottom-up
    if (b.size() < info + infoSize) {
      return NeedMore(info + infoSize);
    }
    return Found(PictureFormat::Bitmap, Le16(b, info + 4), Le16(b, info + 6));
  }
  if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 108 || infoSize == 124) {
    if (b.size() < info + infoSize) {
      return NeedMore(info + infoSize);
    }
    // BITMAPINFOHEADER and its successors: signed sizes; a negative height
    // means the rows are stored top-down.
    const int64_t width = LeSigned32(b, info + 4);
    const int64_t height = LeSigned32(b, info + 8);
    return Found(PictureFormat::Bitmap, width, height < 0 ? -height : height);
  }
  return NoSize();
}

// Icon file: a directory of images, 16 bytes an entry, whose width and height
// bytes say 256 as 0. An icon file holds several sizes of one picture; the
// one reported is the largest (by width times height, then by bits per
// pixel, the first of equals), the most detailed the file offers and the one
// shown when the picture is drawn at its own size.
PictureHeaderResult ParseIcon(Bytes b) {
  constexpr std::size_t directory = 6;
  constexpr std::size_t entrySize = 16;
  if (b.size() < directory) {
    return NeedMore(directory);
  }
  const uint16_t count = Le16(b, 4);
  if (count == 0) {
    return NoSize();
  }
  const std::size_t end = directory + entrySize * count;
  if (b.size() < end) {
    return NeedMore(end);
  }
  int64_t bestWidth = 0;
  int64_t bestHeight = 0;
  uint16_t bestBits = 0;
  for (std::size_t entry = directory; entry < end; entry += entrySize) {
    const int64_t width = b[entry] == 0 ? 256 : b[entry];
    const int64_t height = b[entry + 1] == 0 ? 256 : b[entry + 1];
    const uint16_t bits = Le16(b, entry + 6);
    const int64_t area = width * height;
    const int64_t bestArea = bestWidth * bestHeight;
    if (area > bestArea || (area == bestArea && bits > bestBits)) {
      bestWidth = width;
      bestHeight = height;
      bestBits = bits;
    }
  }
  return Found(PictureFormat::Icon, bestWidth, bestHeight);
}

// Enhanced metafile: the first record is the header (type 1) with " EMF" at
// offset 40. Its picture frame rclFrame is in 0.01 mm; the size in pixels is
// that frame on the reference device the file was made for, whose size the
// header gives both in pixels (szlDevice) and in millimetres
// (szlMillimeters): frame * device / (millimetres * 100), each rounded to the
// nearest pixel as MulDiv does.
PictureHeaderResult ParseEnhancedMetafile(Bytes b) {
  constexpr std::size_t signature = 40;
  constexpr std::size_t headerEnd = 88;  // through szlMillimeters
  if (b.size() < signature + 4) {
    return NeedMore(signature + 4);
  }
  if (Le32(b, signature) != 0x464D4520) {  // " EMF"
    return NoSize();
  }
  if (b.size() < headerEnd) {
    return NeedMore(headerEnd);
  }
  if (Le32(b, 4) < headerEnd) {  // the record's own size
    return NoSize();
  }
  const int64_t frameWidth = int64_t{LeSigned32(b, 32)} - LeSigned32(b, 24);
  const int64_t frameHeight = int64_t{LeSigned32(b, 36)} - LeSigned32(b, 28);
  const int64_t deviceWidth = LeSigned32(b, 72);
  const int64_t deviceHeight = LeSigned32(b, 76);
  const int64_t millimetresWidth = LeSigned32(b, 80);
  const int64_t millimetresHeight = LeSigned32(b, 84);
  if (frameWidth <= 0 || frameHeight <= 0 || deviceWidth <= 0 || deviceHeight <= 0 ||
      millimetresWidth <= 0 || millimetresHeight <= 0) {
    return NoSize();
  }
  return Found(
      PictureFormat::EnhancedMetafile,
      static_cast<int64_t>(MulDivRounded(frameWidth, deviceWidth, millimetresWidth * 100)),
      static_cast<int64_t>(MulDivRounded(frameHeight, deviceHeight, millimetresHeight * 100)));
}

// Placeable Windows metafile: a 22-byte header before the metafile proper,
// with the bounding box in logical units and how many of them make an inch.
// Shown at 96 pixels an inch, rounded to the nearest pixel. (A metafile
// without this header has no size of its own.)
PictureHeaderResult ParsePlaceableMetafile(Bytes b) {
  constexpr std::size_t headerEnd = 22;
  if (b.size() < headerEnd) {
    return NeedMore(headerEnd);
  }
  const int64_t width = int64_t{LeSigned16(b, 10)} - LeSigned16(b, 6);
  const int64_t height = int64_t{LeSigned16(b, 12)} - LeSigned16(b, 8);
  const uint16_t unitsPerInch = Le16(b, 14);
  if (width <= 0 || height <= 0 || unitsPerInch == 0) {
    return NoSize();
  }
  constexpr uint64_t pixelsPerInch = 96;
  return Found(PictureFormat::PlaceableMetafile,
               static_cast<int64_t>(MulDivRounded(width, pixelsPerInch, unitsPerInch)),
               static_cast<int64_t>(MulDivRounded(height, pixelsPerInch, unitsPerInch)));
}

struct Signature {
  std::array<uint8_t, 4> bytes;
  std::size_t length;
  PictureHeaderResult (*parse)(Bytes);
};

constexpr std::array<Signature, 5> Signatures = {{
    {{0xFF, 0xD8}, 2, ParseJpeg},
    {{'B', 'M'}, 2, ParseBitmap},
    {{0x00, 0x00, 0x01, 0x00}, 4, ParseIcon},              // reserved 0, type 1 (icon)
    {{0x01, 0x00, 0x00, 0x00}, 4, ParseEnhancedMetafile},  // record type EMR_HEADER
    {{0xD7, 0xCD, 0xC6, 0x9A}, 4, ParsePlaceableMetafile},
}};

}  // namespace

PictureHeaderResult ParsePictureHeader(std::span<const uint8_t> prefix) {
  // Past the limit nothing is looked at, however much is given, so that the
  // answer does not depend on how much the caller happened to read.
  prefix = prefix.first(std::min(prefix.size(), MaxPictureHeaderBytes));
  std::size_t shortestPossible = 0;
  for (const Signature& signature : Signatures) {
    const std::size_t compared = std::min(prefix.size(), signature.length);
    if (!std::equal(prefix.begin(), prefix.begin() + static_cast<std::ptrdiff_t>(compared),
                    signature.bytes.begin())) {
      continue;
    }
    if (compared == signature.length) {
      return signature.parse(prefix);
    }
    // Too short to tell, but this format is still possible.
    if (shortestPossible == 0 || signature.length < shortestPossible) {
      shortestPossible = signature.length;
    }
  }
  return shortestPossible == 0 ? NoSize() : NeedMore(shortestPossible);
}

std::optional<PictureHeaderSize> PictureSizeFromBytes(std::span<const uint8_t> file) {
  const PictureHeaderResult result = ParsePictureHeader(file);
  if (result.status != Status::Found) {
    return std::nullopt;
  }
  return result.size;
}

std::optional<PictureHeaderSize> ReadPictureSize(const PictureByteReader& read) {
  // Read a little past what the parser asked for: the next JPEG segment
  // header is usually close behind, and one larger read is cheaper than two.
  constexpr std::size_t spare = 4096;
  std::vector<uint8_t> bytes;
  std::size_t wanted = FirstPictureHeaderRead;
  for (;;) {
    const std::size_t had = bytes.size();
    bytes.resize(wanted);
    const std::size_t got =
        std::min(read(had, std::span<uint8_t>(bytes).subspan(had)), wanted - had);
    bytes.resize(had + got);
    const bool atEnd = had + got < wanted;

    const PictureHeaderResult result = ParsePictureHeader(bytes);
    if (result.status == Status::Found) {
      return result.size;
    }
    if (result.status == Status::NoSize || atEnd) {
      return std::nullopt;
    }
    wanted = std::min(result.bytesNeeded + spare, MaxPictureHeaderBytes);
    if (wanted <= bytes.size()) {
      return std::nullopt;  // cannot happen: the parser always asks for more
    }
  }
}

}  // namespace seltane
