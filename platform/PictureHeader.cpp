#include "platform/PictureHeader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace seltane {
namespace {

constexpr std::size_t LaterReadBytes = 1024;

// The most any one request may ask for: the largest table a header holds,
// an icon directory of 65,535 entries, fits. A count taken from a damaged
// file never sizes a buffer beyond it, whether or not the file's size is
// known yet.
constexpr std::size_t MaxRequestBytes = std::size_t{1} << 20;

// The bytes of a file as the parsers ask for them: each request is served
// from the last read when it lies within, and otherwise by one read at its
// offset. The file's size is asked for only when a parser needs it; until
// then a read that comes back short marks the end.
class ByteWindow {
 public:
  ByteWindow(const PictureByteReader& read, const PictureFileSize& size)
      : read_(read), sizeOf_(size) {}

  uint64_t Size() {
    if (!size_) {
      size_ = sizeOf_();
    }
    return *size_;
  }

  // The `count` bytes at `offset`, valid until the next call; nullptr when
  // the file ends before them or cannot be read.
  const uint8_t* At(uint64_t offset, std::size_t count) {
    if (count > MaxRequestBytes) {
      return nullptr;
    }
    if (size_ && (offset > *size_ || count > *size_ - offset)) {
      return nullptr;
    }
    if (offset >= start_ && offset - start_ + count <= bytes_.size()) {
      return bytes_.data() + (offset - start_);
    }
    const std::size_t chunk = first_ ? FirstPictureHeaderRead : LaterReadBytes;
    first_ = false;
    std::size_t wanted = std::max(count, chunk);
    if (size_) {
      wanted = static_cast<std::size_t>(std::min<uint64_t>(wanted, *size_ - offset));
    }
    bytes_.resize(wanted);
    const std::size_t got = std::min(read_(offset, bytes_), wanted);
    bytes_.resize(got);
    start_ = offset;
    if (got < wanted && !size_) {
      size_ = offset + got;
    }
    return got >= count ? bytes_.data() : nullptr;
  }

 private:
  const PictureByteReader& read_;
  const PictureFileSize& sizeOf_;
  std::optional<uint64_t> size_;
  uint64_t start_ = 0;
  bool first_ = true;
  std::vector<uint8_t> bytes_;
};

uint16_t Le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(Le16(p)) | static_cast<uint32_t>(Le16(p + 2)) << 16;
}
int32_t LeSigned32(const uint8_t* p) {
  return static_cast<int32_t>(Le32(p));
}
int16_t LeSigned16(const uint8_t* p) {
  return static_cast<int16_t>(Le16(p));
}
uint16_t Be16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] << 8 | p[1]);
}
uint32_t Be32(const uint8_t* p) {
  return static_cast<uint32_t>(Be16(p)) << 16 | Be16(p + 2);
}

PictureHeaderResult Refused(PictureError verdict) {
  PictureHeaderResult result;
  result.verdict = verdict;
  return result;
}

PictureHeaderResult Shown(PictureFormat format, int64_t width, int64_t height,
                          uint64_t bytesNeeded) {
  constexpr int64_t limit = std::numeric_limits<int32_t>::max();
  if (width < 1 || height < 1) {
    return Refused(PictureError::Damaged);
  }
  if (width > limit || height > limit) {
    return Refused(PictureError::TooLarge);
  }
  PictureHeaderResult result;
  result.verdict = PictureError::None;
  result.header.format = format;
  result.header.width = static_cast<int32_t>(width);
  result.header.height = static_cast<int32_t>(height);
  result.header.frame = {0, 0, result.header.width, result.header.height};
  result.header.bytesNeeded = bytesNeeded;
  return result;
}

bool OverPixelLimit(uint64_t width, uint64_t height, uint64_t maxPixels) {
  return width * height > maxPixels;
}

// Whether the imaging component would hold more than MaxStoredSampleBytes
// of the picture's samples, rows padded to whole bytes. Sizes below 2^32.
bool OverStoredSampleBytes(uint64_t width, uint64_t height, uint64_t bitsPerPixel) {
  const uint64_t rowBytes = (width * bitsPerPixel + 7) / 8;
  return height > 0 && rowBytes > MaxStoredSampleBytes / height;
}

// a * b / c rounded to the nearest, halves up, as MulDiv does for positive
// values; a and b below 2^32, so a * b fits and the rounding never overflows.
uint64_t MulDivRounded(uint64_t a, uint64_t b, uint64_t c) {
  const uint64_t product = a * b;
  const uint64_t remainder = product % c;
  return product / c + (remainder >= c - remainder ? 1 : 0);
}

uint64_t CeilDiv(uint64_t a, uint64_t b) {
  return (a + b - 1) / b;
}

// ---------------------------------------------------------------- JPEG

struct JpegComponent {
  uint8_t id = 0;
  uint8_t horizontal = 0;  // sampling factors
  uint8_t vertical = 0;
};

struct JpegFrame {
  bool progressive = false;
  uint8_t precision = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  std::vector<JpegComponent> components;
};

// What libjpeg (as built here, 8-bit samples, with arithmetic decoding)
// decides once it reaches the first scan, and what the decoder's colour
// conversion and memory bound add. `firstScan` lists the components of the
// first scan by their position in the frame.
PictureHeaderResult JudgeJpegFrame(const JpegFrame& frame,
                                   const std::vector<std::size_t>& firstScan) {
  if (frame.width > MaxJpegSide || frame.height > MaxJpegSide) {
    return Refused(PictureError::TooLarge);
  }
  if (frame.precision != 8 || frame.components.size() > 10) {
    return Refused(PictureError::Unsupported);
  }
  uint8_t maxHorizontal = 1;
  uint8_t maxVertical = 1;
  for (const JpegComponent& c : frame.components) {
    if (c.horizontal < 1 || c.horizontal > 4 || c.vertical < 1 || c.vertical > 4) {
      return Refused(PictureError::Damaged);
    }
    maxHorizontal = std::max(maxHorizontal, c.horizontal);
    maxVertical = std::max(maxVertical, c.vertical);
  }
  // Grey, colour and four-colour files are turned into RGB; and libjpeg
  // brings colour planes to full size only by whole factors.
  const std::size_t count = frame.components.size();
  if (count != 1 && count != 3 && count != 4) {
    return Refused(PictureError::Unsupported);
  }
  for (const JpegComponent& c : frame.components) {
    if (maxHorizontal % c.horizontal != 0 || maxVertical % c.vertical != 0) {
      return Refused(PictureError::Unsupported);
    }
  }
  // An interleaved scan's unit holds at most 10 blocks.
  if (firstScan.size() > 1) {
    int blocks = 0;
    for (std::size_t index : firstScan) {
      blocks += frame.components[index].horizontal * frame.components[index].vertical;
    }
    if (blocks > 10) {
      return Refused(PictureError::Damaged);
    }
  }
  // Several scans are gathered into whole-picture coefficient buffers of
  // 128 bytes a block, padded to whole units, before any pixel comes out.
  if (frame.progressive || firstScan.size() < count) {
    uint64_t bytes = 0;
    for (const JpegComponent& c : frame.components) {
      const uint64_t columns = CeilDiv(uint64_t{frame.width} * c.horizontal, 8u * maxHorizontal);
      const uint64_t rows = CeilDiv(uint64_t{frame.height} * c.vertical, 8u * maxVertical);
      bytes += CeilDiv(columns, c.horizontal) * c.horizontal * CeilDiv(rows, c.vertical) *
               c.vertical * 128;
    }
    if (bytes > MaxJpegCoefficientBytes) {
      return Refused(PictureError::TooLarge);
    }
  }
  PictureHeaderResult result = Shown(PictureFormat::Jpeg, frame.width, frame.height, 0);
  result.header.progressive = frame.progressive;
  return result;
}

// The markers from SOI to the first scan (SOS), walked the way libjpeg reads
// them while it reads the header: bytes other than 0xFF between segments are
// skipped (with a warning), so are fill bytes (runs of 0xFF) and stuffed
// zeros (FF 00). Segment bodies are passed over by their lengths.
PictureHeaderResult ExamineJpeg(ByteWindow& file) {
  uint64_t pos = 2;  // after SOI
  int warnings = 0;
  std::optional<JpegFrame> frame;
  for (int markers = 0;; ++markers) {
    if (markers == MaxJpegMarkers) {
      return Refused(PictureError::Damaged);
    }
    bool discarded = false;
    const uint8_t* byte = nullptr;
    for (;;) {
      while ((byte = file.At(pos, 1)) != nullptr && *byte != 0xFF) {
        ++pos;
        discarded = true;
      }
      do {
        byte = file.At(++pos, 1);
      } while (byte != nullptr && *byte == 0xFF);
      if (byte == nullptr) {
        return Refused(PictureError::Damaged);  // the file ends before its first scan
      }
      if (*byte != 0x00) {
        break;
      }
      ++pos;  // a stuffed zero
      discarded = true;
    }
    if (discarded && ++warnings > MaxJpegWarnings) {
      return Refused(PictureError::Damaged);
    }
    const uint8_t marker = *byte;
    const uint64_t segment = pos + 1;  // the length field, where there is one
    pos = segment;
    switch (marker) {
      case 0xC0:    // baseline
      case 0xC1:    // extended sequential
      case 0xC2:    // progressive
      case 0xC9:    // sequential, arithmetic coding
      case 0xCA: {  // progressive, arithmetic coding
        const uint8_t* p = file.At(segment, 8);
        if (frame || p == nullptr) {
          return Refused(PictureError::Damaged);
        }
        JpegFrame read;
        read.progressive = marker == 0xC2 || marker == 0xCA;
        read.precision = p[2];
        read.height = Be16(p + 3);
        read.width = Be16(p + 5);
        const uint8_t count = p[7];
        const uint16_t length = Be16(p);
        // A height of 0 would be given later by a DNL marker, which libjpeg
        // does not take.
        if (read.width == 0 || read.height == 0 || count == 0 || length != 8 + 3 * count) {
          return Refused(PictureError::Damaged);
        }
        const uint8_t* c = file.At(segment + 8, 3u * count);
        if (c == nullptr) {
          return Refused(PictureError::Damaged);
        }
        for (uint8_t i = 0; i < count; ++i) {
          read.components.push_back({c[3 * i], static_cast<uint8_t>(c[3 * i + 1] >> 4),
                                     static_cast<uint8_t>(c[3 * i + 1] & 0x0F)});
        }
        frame = std::move(read);
        pos = segment + length;
        break;
      }
      case 0xC3:  // lossless, hierarchical and reserved codings
      case 0xC5:
      case 0xC6:
      case 0xC7:
      case 0xC8:
      case 0xCB:
      case 0xCD:
      case 0xCE:
      case 0xCF:
        return Refused(PictureError::Unsupported);
      case 0xDA: {  // the first scan: the header ends here
        const uint8_t* p = file.At(segment, 3);
        if (!frame || p == nullptr) {
          return Refused(PictureError::Damaged);
        }
        const uint8_t count = p[2];
        if (Be16(p) != 6 + 2 * count || count < 1 || count > 4) {
          return Refused(PictureError::Damaged);
        }
        const uint8_t* ids = file.At(segment + 3, 2u * count);
        if (ids == nullptr) {
          return Refused(PictureError::Damaged);
        }
        // Each names a different one of the frame's first four components.
        std::vector<std::size_t> scan;
        const std::size_t named = std::min<std::size_t>(frame->components.size(), 4);
        for (uint8_t i = 0; i < count; ++i) {
          std::size_t index = 0;
          while (index < named && (frame->components[index].id != ids[2 * i] ||
                                   std::find(scan.begin(), scan.end(), index) != scan.end())) {
            ++index;
          }
          if (index == named) {
            return Refused(PictureError::Damaged);
          }
          scan.push_back(index);
        }
        return JudgeJpegFrame(*frame, scan);
      }
      default: {
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
          break;  // RSTn and TEM stand alone
        }
        // Tables (DHT, DAC, DQT, DRI), DNL, APPn and COM are passed over by
        // their lengths. A second SOI, an EOI before the scan and the
        // reserved markers stop libjpeg.
        const bool passedOver = marker == 0xC4 || marker == 0xCC ||
                                (marker >= 0xDB && marker <= 0xDD) ||
                                (marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE;
        const uint8_t* p = file.At(segment, 2);
        if (!passedOver || p == nullptr || Be16(p) < 2 || (marker == 0xDD && Be16(p) != 4)) {
          return Refused(PictureError::Damaged);
        }
        pos = segment + Be16(p);
        break;
      }
    }
  }
}

// ---------------------------------------------------------------- bitmaps

constexpr uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3, BiAlphaBitfields = 6;

uint64_t RowBytes(uint64_t width, uint32_t bits) {
  return (width * bits + 31) / 32 * 4;
}

PictureHeaderResult ExamineBitmap(ByteWindow& file, uint64_t maxPixels) {
  constexpr uint64_t info = 14;
  const uint8_t* p = file.At(0, info + 4);
  if (p == nullptr) {
    return Refused(PictureError::Damaged);
  }
  const uint32_t storedOffset = Le32(p + 10);
  const uint32_t infoSize = Le32(p + info);
  DibLayout dib;
  int64_t width = 0;
  int64_t height = 0;
  uint32_t colorsUsed = 0;
  if (infoSize == 12) {  // BITMAPCOREHEADER: unsigned 16-bit sizes, bottom-up
    p = file.At(info, infoSize);
    if (p == nullptr) {
      return Refused(PictureError::Damaged);
    }
    width = Le16(p + 4);
    height = Le16(p + 6);
    dib.bitCount = Le16(p + 10);
    dib.paletteEntrySize = 3;
  } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 108 ||
             infoSize == 124) {
    // BITMAPINFOHEADER and its successors: signed sizes; a negative height
    // means the rows are stored top-down.
    p = file.At(info, infoSize);
    if (p == nullptr) {
      return Refused(PictureError::Damaged);
    }
    width = LeSigned32(p + 4);
    height = LeSigned32(p + 8);
    dib.bitCount = Le16(p + 14);
    dib.compression = Le32(p + 16);
    colorsUsed = Le32(p + 32);
  } else {
    return Refused(PictureError::Unsupported);
  }
  dib.paletteOffset = info + infoSize;

  const uint32_t bits = dib.bitCount;
  switch (dib.compression) {
    case BiRgb:
      if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return Refused(PictureError::Unsupported);
      }
      if (bits == 16) {  // 5-5-5
        dib.masks[0] = 0x7C00;
        dib.masks[1] = 0x03E0;
        dib.masks[2] = 0x001F;
      }
      break;
    case BiRle8:
    case BiRle4:
      // Run-length data is always stored bottom-up.
      if (bits != (dib.compression == BiRle8 ? 8u : 4u) || height < 0) {
        return Refused(PictureError::Unsupported);
      }
      break;
    case BiBitfields:
    case BiAlphaBitfields: {
      if (bits != 16 && bits != 32) {
        return Refused(PictureError::Unsupported);
      }
      // The masks follow a 40-byte header, or are part of a longer one.
      const uint8_t* masks = file.At(info + 40, 12);
      if (masks == nullptr) {
        return Refused(PictureError::Damaged);
      }
      for (int i = 0; i < 3; ++i) {
        dib.masks[i] = Le32(masks + 4 * i);
      }
      if (infoSize == 40) {
        dib.paletteOffset += dib.compression == BiAlphaBitfields ? 16 : 12;
      }
      break;
    }
    default:
      return Refused(PictureError::Unsupported);  // embedded JPEG or PNG, OS/2 Huffman
  }
  if (bits <= 8) {
    const uint32_t full = 1u << bits;
    dib.paletteCount = colorsUsed == 0 ? full : std::min(colorsUsed, full);
  }
  // A bitmap without pixels would show as nothing at all.
  if (width <= 0 || height == 0 || height == std::numeric_limits<int32_t>::min()) {
    return Refused(PictureError::Damaged);
  }
  dib.topDown = height < 0;
  height = height < 0 ? -height : height;
  if (OverPixelLimit(static_cast<uint64_t>(width), static_cast<uint64_t>(height), maxPixels)) {
    return Refused(PictureError::TooLarge);
  }
  dib.pixelOffset =
      storedOffset != 0 ? storedOffset : dib.paletteOffset;  // some writers leave it out
  if (dib.pixelOffset > file.Size()) {
    return Refused(PictureError::Damaged);
  }
  uint64_t bytesNeeded = file.Size();  // run-length data is read to the end
  if (dib.compression != BiRle8 && dib.compression != BiRle4) {
    // Rows are whole 32-bit words; the last one may lack its padding.
    const auto w = static_cast<uint64_t>(width);
    const uint64_t available = file.Size() - dib.pixelOffset;
    const uint64_t lastRow = (w * bits + 7) / 8;
    const uint64_t rows = static_cast<uint64_t>(height) - 1;
    if (lastRow > available || (rows > 0 && RowBytes(w, bits) > (available - lastRow) / rows)) {
      return Refused(PictureError::Damaged);
    }
    const uint64_t paletteEnd =
        dib.paletteOffset + uint64_t{dib.paletteCount} * dib.paletteEntrySize;
    bytesNeeded = std::min(
        file.Size(), std::max(dib.pixelOffset + RowBytes(w, bits) * rows + lastRow, paletteEnd));
  }
  PictureHeaderResult result = Shown(PictureFormat::Bitmap, width, height, bytesNeeded);
  result.header.dib = dib;
  return result;
}

// ---------------------------------------------------------------- icons

struct IconImage {
  int32_t width = 0;
  int32_t height = 0;
  DibLayout dib;
  uint64_t end = 0;
};

// One image of an icon file: a BITMAPINFOHEADER whose height counts the
// colour rows and the transparency mask's, then the palette, the colours and
// the mask, all bottom-up. Images stored as PNG are not read.
std::optional<IconImage> ExamineIconImage(ByteWindow& file, uint64_t offset, uint64_t bytes,
                                          uint64_t maxPixels, bool& png) {
  if (offset > file.Size() || bytes > file.Size() - offset || bytes < 40) {
    return std::nullopt;
  }
  const uint8_t* p = file.At(offset, 40);
  if (p == nullptr) {
    return std::nullopt;
  }
  if (std::memcmp(p, "\x89PNG", 4) == 0) {
    png = true;
    return std::nullopt;
  }
  const int64_t width = LeSigned32(p + 4);
  const int64_t height = LeSigned32(p + 8) / 2;
  const uint16_t bits = Le16(p + 14);
  if (Le32(p) != 40 || Le32(p + 16) != BiRgb || width < 1 || height < 1 ||
      (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) ||
      OverPixelLimit(static_cast<uint64_t>(width), static_cast<uint64_t>(height), maxPixels)) {
    return std::nullopt;
  }
  IconImage image;
  image.width = static_cast<int32_t>(width);
  image.height = static_cast<int32_t>(height);
  image.dib.bitCount = bits;
  if (bits <= 8) {
    const uint32_t colorsUsed = Le32(p + 32);
    const uint32_t full = 1u << bits;
    image.dib.paletteCount = colorsUsed == 0 ? full : std::min(colorsUsed, full);
  }
  image.dib.paletteOffset = offset + 40;
  image.dib.pixelOffset = image.dib.paletteOffset + uint64_t{image.dib.paletteCount} * 4;
  image.end = offset + bytes;
  const uint64_t colourEnd = image.dib.pixelOffset + RowBytes(static_cast<uint64_t>(width), bits) *
                                                         static_cast<uint64_t>(height);
  if (colourEnd > image.end) {
    return std::nullopt;
  }
  // Some writers leave the mask out of images with an alpha channel.
  if (colourEnd + RowBytes(static_cast<uint64_t>(width), 1) * static_cast<uint64_t>(height) <=
      image.end) {
    image.dib.maskOffset = colourEnd;
  }
  return image;
}

// Icon file: a directory of images, 16 bytes an entry. An icon file holds
// several sizes and depths of one picture; the one shown is the largest (by
// width times height), of those the deepest, and of those the first: the
// most detailed the file offers.
PictureHeaderResult ExamineIcon(ByteWindow& file, uint64_t maxPixels) {
  constexpr std::size_t directory = 6;
  constexpr std::size_t entrySize = 16;
  const uint8_t* p = file.At(0, directory);
  if (p == nullptr || Le16(p + 4) == 0) {
    return Refused(PictureError::Damaged);
  }
  const uint16_t count = Le16(p + 4);
  p = file.At(directory, entrySize * count);
  if (p == nullptr) {
    return Refused(PictureError::Damaged);
  }
  const std::vector<uint8_t> entries(p, p + entrySize * count);
  std::optional<IconImage> best;
  bool png = false;
  for (std::size_t entry = 0; entry < entries.size(); entry += entrySize) {
    const std::optional<IconImage> image = ExamineIconImage(
        file, Le32(&entries[entry + 12]), Le32(&entries[entry + 8]), maxPixels, png);
    if (!image) {
      continue;
    }
    const int64_t area = int64_t{image->width} * image->height;
    if (!best || area > int64_t{best->width} * best->height ||
        (area == int64_t{best->width} * best->height && image->dib.bitCount > best->dib.bitCount)) {
      best = image;
    }
  }
  if (!best) {
    return Refused(png ? PictureError::Unsupported : PictureError::Damaged);
  }
  PictureHeaderResult result = Shown(PictureFormat::Icon, best->width, best->height, best->end);
  result.header.dib = best->dib;
  return result;
}

// ---------------------------------------------------------------- PNG

uint32_t Crc32(const uint8_t* p, std::size_t count) {
  uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 0; i < count; ++i) {
    crc ^= p[i];
    for (int bit = 0; bit < 8; ++bit) {
      crc = crc >> 1 ^ (0xEDB88320 & (0u - (crc & 1)));
    }
  }
  return ~crc;
}

// The signature, then the IHDR chunk: its length (13), its type, the fields
// and their CRC, which libpng checks as it checks every critical chunk.
PictureHeaderResult ExaminePng(ByteWindow& file) {
  const uint8_t* p = file.At(8, 25);
  if (p == nullptr || Be32(p) != 13 || std::memcmp(p + 4, "IHDR", 4) != 0 ||
      Crc32(p + 4, 17) != Be32(p + 21)) {
    return Refused(PictureError::Damaged);
  }
  const uint32_t width = Be32(p + 8);
  const uint32_t height = Be32(p + 12);
  const uint8_t depth = p[16];
  const uint8_t colourType = p[17];
  // Samples a pixel, and the depths each colour type allows.
  int samples = 0;
  bool depthAllowed = false;
  switch (colourType) {
    case 0:  // grey
      samples = 1;
      depthAllowed = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
      break;
    case 3:  // palette
      samples = 1;
      depthAllowed = depth == 1 || depth == 2 || depth == 4 || depth == 8;
      break;
    case 2:  // RGB
    case 4:  // grey and alpha
    case 6:  // RGB and alpha
      samples = colourType == 2 ? 3 : colourType == 4 ? 2 : 4;
      depthAllowed = depth == 8 || depth == 16;
      break;
    default:
      break;
  }
  const bool fieldsValid = p[18] == 0 && p[19] == 0 && p[20] <= 1;  // deflate, filter 0, interlace
  if (!depthAllowed || !fieldsValid || width > INT32_MAX || height > INT32_MAX) {
    return Refused(PictureError::Damaged);
  }
  if (width > MaxPngSide || height > MaxPngSide ||
      OverStoredSampleBytes(width, height, uint64_t{depth} * samples)) {
    return Refused(PictureError::TooLarge);
  }
  return Shown(PictureFormat::Png, width, height, 0);
}

// ---------------------------------------------------------------- GIF

// The logical screen, then the blocks up to the first image: extensions,
// each a label and sub-blocks up to an empty one, are passed over. The
// picture is the screen, enlarged where the first image reaches beyond it (a
// screen of 0 x 0 takes the image's size, as browsers show it).
PictureHeaderResult ExamineGif(ByteWindow& file) {
  const uint8_t* p = file.At(6, 7);
  if (p == nullptr) {
    return Refused(PictureError::Damaged);
  }
  const uint16_t screenWidth = Le16(p);
  const uint16_t screenHeight = Le16(p + 2);
  const uint8_t flags = p[4];
  uint64_t pos = 13 + ((flags & 0x80) != 0 ? 3u << ((flags & 7) + 1) : 0);  // global colours
  for (int blocks = 0; blocks < MaxGifBlocks; ++blocks) {
    const uint8_t* block = file.At(pos, 1);
    if (block == nullptr) {
      break;
    }
    if (*block == 0x2C) {  // image descriptor
      const uint8_t* image = file.At(pos + 1, 8);
      if (image == nullptr) {
        break;
      }
      const PicturePart frame{Le16(image), Le16(image + 2), Le16(image + 4), Le16(image + 6)};
      if (frame.width == 0 || frame.height == 0) {
        break;
      }
      if (OverStoredSampleBytes(static_cast<uint64_t>(frame.width),
                                static_cast<uint64_t>(frame.height), 8)) {
        return Refused(PictureError::TooLarge);
      }
      PictureHeaderResult result = Shown(
          PictureFormat::Gif, std::max<int64_t>(screenWidth, int64_t{frame.left} + frame.width),
          std::max<int64_t>(screenHeight, int64_t{frame.top} + frame.height), 0);
      result.header.frame = frame;
      return result;
    }
    if (*block != 0x21) {
      break;  // the trailer before any image, or no block at all
    }
    for (pos += 2; blocks < MaxGifBlocks; ++blocks) {
      const uint8_t* length = file.At(pos, 1);
      if (length == nullptr) {
        return Refused(PictureError::Damaged);
      }
      pos += 1 + *length;
      if (*length == 0) {
        break;
      }
    }
  }
  return Refused(PictureError::Damaged);
}

// ---------------------------------------------------------------- TIFF

constexpr uint16_t TiffShort = 3, TiffLong = 4;

// The fields of the first directory the decoder needs; 0 where absent.
struct TiffFields {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t samples = 1;
  uint32_t bitsPerSample = 1;
  bool bitsDiffer = false;  // samples of different depths
  uint32_t compression = 1;
  uint32_t photometric = UINT32_MAX;
  uint32_t planar = 1;
  bool pixelOffsets = false;  // strips or tiles
};

// The first directory (IFD) of a classic TIFF file, in either byte order:
// 12-byte entries of tag, type, count and a value that is the field itself
// when it fits into 4 bytes, else the offset of its values.
PictureHeaderResult ExamineTiff(ByteWindow& file) {
  const uint8_t* p = file.At(0, 8);
  if (p == nullptr) {
    return Refused(PictureError::Damaged);
  }
  const bool little = p[0] == 'I';
  const auto u16 = [little](const uint8_t* q) { return little ? Le16(q) : Be16(q); };
  const auto u32 = [little](const uint8_t* q) { return little ? Le32(q) : Be32(q); };
  if (u16(p + 2) == 43) {
    return Refused(PictureError::Unsupported);  // BigTIFF
  }
  const uint64_t directory = u32(p + 4);
  p = file.At(directory, 2);
  if (p == nullptr || u16(p) == 0) {
    return Refused(PictureError::Damaged);
  }
  const std::size_t count = u16(p);
  p = file.At(directory + 2, 12 * count);
  if (p == nullptr) {
    return Refused(PictureError::Damaged);
  }
  const std::vector<uint8_t> entries(p, p + 12 * count);
  TiffFields fields;
  for (std::size_t at = 0; at < entries.size(); at += 12) {
    const uint8_t* entry = &entries[at];
    const uint16_t tag = u16(entry);
    const uint16_t type = u16(entry + 2);
    const uint32_t values = u32(entry + 4);
    if (type != TiffShort && type != TiffLong) {
      continue;  // no field read here has another type
    }
    const uint32_t value = type == TiffShort ? u16(entry + 8) : u32(entry + 8);
    switch (tag) {
      case 256:
        fields.width = value;
        break;
      case 257:
        fields.height = value;
        break;
      case 258: {  // one depth a sample, stored apart when they take over 4 bytes
        if (values == 0 || values > 16) {
          return Refused(PictureError::Damaged);
        }
        const std::size_t bytes = values * std::size_t{type == TiffShort ? 2u : 4u};
        const uint8_t* depths = bytes <= 4 ? entry + 8 : file.At(u32(entry + 8), bytes);
        if (depths == nullptr) {
          return Refused(PictureError::Damaged);
        }
        fields.bitsPerSample = type == TiffShort ? u16(depths) : u32(depths);
        for (uint32_t i = 1; i < values; ++i) {
          const uint32_t depth = type == TiffShort ? u16(depths + 2 * i) : u32(depths + 4 * i);
          fields.bitsDiffer = fields.bitsDiffer || depth != fields.bitsPerSample;
        }
        break;
      }
      case 259:
        fields.compression = value;
        break;
      case 262:
        fields.photometric = value;
        break;
      case 277:
        fields.samples = value;
        break;
      case 284:
        fields.planar = value;
        break;
      case 273:  // strip offsets
      case 324:  // tile offsets
        fields.pixelOffsets = values > 0;
        break;
      default:
        break;
    }
  }
  if (fields.width == 0 || fields.height == 0 || !fields.pixelOffsets ||
      fields.photometric == UINT32_MAX || fields.samples == 0) {
    return Refused(PictureError::Damaged);
  }
  // Codings: none, the fax codings, LZW, JPEG, deflate (both codes), PackBits.
  const uint32_t compression = fields.compression;
  const bool coding = compression == 1 || compression == 2 || compression == 3 ||
                      compression == 4 || compression == 5 || compression == 7 ||
                      compression == 8 || compression == 32773 || compression == 32946;
  // The colour models and depths the decoder turns into pixels, samples of
  // one depth, stored together; extra samples (alpha) after the colours.
  const uint32_t bits = fields.bitsPerSample;
  const uint32_t samples = fields.samples;
  bool model = false;
  switch (fields.photometric) {
    case 0:  // white is zero
    case 1:  // black is zero
      model = (samples == 1 && (bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16)) ||
              (samples == 2 && (bits == 8 || bits == 16));
      break;
    case 2:  // RGB
      model = (samples == 3 || samples == 4) && (bits == 8 || bits == 16);
      break;
    case 3:  // palette
      model = samples == 1 && (bits == 1 || bits == 2 || bits == 4 || bits == 8);
      break;
    case 5:  // CMYK
      model = (samples == 4 || samples == 5) && (bits == 8 || bits == 16);
      break;
    case 6:  // YCbCr, as JPEG-coded files hold it
      model = samples == 3 && bits == 8 && compression == 7;
      break;
    default:
      break;
  }
  if (!coding || !model || fields.bitsDiffer || fields.planar != 1) {
    return Refused(PictureError::Unsupported);
  }
  if (OverStoredSampleBytes(fields.width, fields.height, uint64_t{bits} * samples)) {
    return Refused(PictureError::TooLarge);
  }
  return Shown(PictureFormat::Tiff, fields.width, fields.height, 0);
}

// ---------------------------------------------------------------- metafiles

PictureHeaderResult DrawnMetafile(PictureFormat format, int64_t width, int64_t height,
                                  uint64_t fileSize, uint64_t maxPixels) {
  PictureHeaderResult result = Shown(format, width, height, fileSize);
  if (result.verdict == PictureError::None &&
      (width > MaxMetafileSide || height > MaxMetafileSide ||
       OverPixelLimit(static_cast<uint64_t>(width), static_cast<uint64_t>(height), maxPixels))) {
    return Refused(PictureError::TooLarge);
  }
  return result;
}

// Enhanced metafile: the first record is the header (type 1) with " EMF" at
// offset 40. Its picture frame rclFrame is in 0.01 mm; the size in pixels is
// that frame on the reference device the file was made for, whose size the
// header gives both in pixels (szlDevice) and in millimetres
// (szlMillimeters): frame * device / (millimetres * 100), each rounded to the
// nearest pixel as MulDiv does.
PictureHeaderResult ExamineEnhancedMetafile(ByteWindow& file, uint64_t maxPixels) {
  constexpr std::size_t headerEnd = 88;  // through szlMillimeters
  const uint8_t* b = file.At(0, 44);
  if (b == nullptr || Le32(b + 40) != 0x464D4520) {  // " EMF"
    return Refused(PictureError::NotAPicture);
  }
  b = file.At(0, headerEnd);
  if (b == nullptr || Le32(b + 4) < headerEnd) {  // the record's own size
    return Refused(PictureError::Damaged);
  }
  const int64_t frameWidth = int64_t{LeSigned32(b + 32)} - LeSigned32(b + 24);
  const int64_t frameHeight = int64_t{LeSigned32(b + 36)} - LeSigned32(b + 28);
  const int64_t deviceWidth = LeSigned32(b + 72);
  const int64_t deviceHeight = LeSigned32(b + 76);
  const int64_t millimetresWidth = LeSigned32(b + 80);
  const int64_t millimetresHeight = LeSigned32(b + 84);
  if (frameWidth <= 0 || frameHeight <= 0 || deviceWidth <= 0 || deviceHeight <= 0 ||
      millimetresWidth <= 0 || millimetresHeight <= 0) {
    return Refused(PictureError::Damaged);
  }
  return DrawnMetafile(
      PictureFormat::EnhancedMetafile,
      static_cast<int64_t>(MulDivRounded(frameWidth, deviceWidth, millimetresWidth * 100)),
      static_cast<int64_t>(MulDivRounded(frameHeight, deviceHeight, millimetresHeight * 100)),
      file.Size(), maxPixels);
}

// Placeable Windows metafile: a 22-byte header before the metafile proper,
// with the bounding box in logical units and how many of them make an inch.
// Shown at 96 pixels an inch, rounded to the nearest pixel. (A metafile
// without this header has no size of its own.)
PictureHeaderResult ExaminePlaceableMetafile(ByteWindow& file, uint64_t maxPixels) {
  constexpr std::size_t headerEnd = 22;
  const uint8_t* b = file.At(0, headerEnd);
  if (b == nullptr || file.Size() == headerEnd) {  // no metafile after the header
    return Refused(PictureError::Damaged);
  }
  const int64_t width = int64_t{LeSigned16(b + 10)} - LeSigned16(b + 6);
  const int64_t height = int64_t{LeSigned16(b + 12)} - LeSigned16(b + 8);
  const uint16_t unitsPerInch = Le16(b + 14);
  if (width <= 0 || height <= 0 || unitsPerInch == 0) {
    return Refused(PictureError::Damaged);
  }
  constexpr uint64_t pixelsPerInch = 96;
  return DrawnMetafile(PictureFormat::PlaceableMetafile,
                       static_cast<int64_t>(MulDivRounded(width, pixelsPerInch, unitsPerInch)),
                       static_cast<int64_t>(MulDivRounded(height, pixelsPerInch, unitsPerInch)),
                       file.Size(), maxPixels);
}

PictureHeaderResult ExamineAnyFormat(ByteWindow& file, uint64_t maxPixels) {
  const uint8_t* b = file.At(0, 2);
  if (b == nullptr) {
    return Refused(PictureError::NotAPicture);
  }
  if (b[0] == 0xFF && b[1] == 0xD8) {
    return ExamineJpeg(file);
  }
  if (b[0] == 'B' && b[1] == 'M') {
    return ExamineBitmap(file, maxPixels);
  }
  b = file.At(0, 8);
  if (b != nullptr && std::memcmp(b, "\x89PNG\r\n\x1A\n", 8) == 0) {
    return ExaminePng(file);
  }
  b = file.At(0, 6);
  if (b != nullptr && (std::memcmp(b, "GIF87a", 6) == 0 || std::memcmp(b, "GIF89a", 6) == 0)) {
    return ExamineGif(file);
  }
  b = file.At(0, 4);
  if (b == nullptr) {
    return Refused(PictureError::NotAPicture);
  }
  if ((b[0] == 'I' && b[1] == 'I' && Le16(b + 2) == 42) ||
      (b[0] == 'M' && b[1] == 'M' && Be16(b + 2) == 42) ||
      (b[0] == 'I' && b[1] == 'I' && Le16(b + 2) == 43) ||
      (b[0] == 'M' && b[1] == 'M' && Be16(b + 2) == 43)) {
    return ExamineTiff(file);
  }
  const uint32_t signature = Le32(b);
  if (signature == 0x00010000) {  // reserved 0, type 1 (an icon, not a cursor)
    return ExamineIcon(file, maxPixels);
  }
  if (signature == 0x00000001) {  // record type EMR_HEADER
    return ExamineEnhancedMetafile(file, maxPixels);
  }
  if (signature == 0x9AC6CDD7) {
    return ExaminePlaceableMetafile(file, maxPixels);
  }
  return Refused(PictureError::NotAPicture);
}

PictureHeaderResult Examine(ByteWindow& file, uint64_t maxPixels) {
  const PictureHeaderResult result = ExamineAnyFormat(file, maxPixels);
  // What is read whole stays within what a picture of the largest size needs.
  if (result.verdict == PictureError::None &&
      result.header.bytesNeeded > MaxWholeFileBytes(maxPixels)) {
    return Refused(PictureError::TooLarge);
  }
  return result;
}

}  // namespace

bool DecodedByImagingComponent(PictureFormat format) {
  return format == PictureFormat::Png || format == PictureFormat::Gif ||
         format == PictureFormat::Tiff;
}

uint64_t MaxWholeFileBytes(uint64_t maxPixels) {
  return std::min<uint64_t>(maxPixels, UINT32_MAX) * 4 + (uint64_t{16} << 20);
}

PictureHeaderResult ExaminePicture(const PictureByteReader& read, const PictureFileSize& fileSize,
                                   uint64_t maxPixels) {
  ByteWindow file(read, fileSize);
  return Examine(file, maxPixels);
}

PictureHeaderResult ExaminePicture(std::span<const uint8_t> bytes, uint64_t maxPixels) {
  const PictureByteReader read = [bytes](uint64_t offset, std::span<uint8_t> into) {
    const std::size_t count =
        offset >= bytes.size() ? 0 : std::min<std::size_t>(into.size(), bytes.size() - offset);
    if (count > 0) {
      std::memcpy(into.data(), bytes.data() + offset, count);
    }
    return count;
  };
  return ExaminePicture(
      read, [&] { return uint64_t{bytes.size()}; }, maxPixels);
}

}  // namespace seltane
