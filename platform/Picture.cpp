#include "platform/Picture.h"

#include "platform/GdiPicture.h"
#include "platform/PictureHeader.h"

#include <windows.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstring>
#include <new>
#include <span>

#include <jerror.h>
#include <jpeglib.h>

namespace seltane {
namespace {

// ---------------------------------------------------------------- helpers

uint16_t Read16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool WithinLimit(uint64_t width, uint64_t height, const DecodeOptions& options) {
  const uint64_t count = width * height;
  return count <= options.maxPixels && count <= SIZE_MAX / 4;
}

// Allocates the decoded pixels after checking them against the limit.
PictureError AllocatePixels(uint64_t width, uint64_t height, const DecodeOptions& options,
                            Picture& picture) {
  if (!WithinLimit(width, height, options)) {
    return PictureError::TooLarge;
  }
  const uint64_t count = width * height;
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

// ---------------------------------------------------------------- bitmaps

struct BitmapFields {
  // One colour channel of a 16- or 32-bit pixel: its mask's position, and
  // how to bring its bits to 0-255.
  struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;  // the channel's largest value

    static Channel From(uint32_t mask) {
      Channel channel;
      channel.mask = mask;
      if (mask != 0) {
        while ((mask & 1) == 0) {
          mask >>= 1;
          ++channel.shift;
        }
        channel.max = mask;  // contiguous masks; stray bits only dim the channel
      }
      return channel;
    }
    uint8_t Of(uint32_t pixel) const {
      if (max == 0) {
        return 0;
      }
      const uint64_t value = (pixel & mask) >> shift;
      return static_cast<uint8_t>(std::min<uint64_t>(255, (value * 255 + max / 2) / max));
    }
  };
  Channel red, green, blue;
};

constexpr uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3, BiAlphaBitfields = 6;

struct BitmapHeader {
  int64_t width = 0;
  int64_t height = 0;  // negative: rows top-down
  uint32_t bitCount = 0;
  uint32_t compression = BiRgb;
  uint32_t colorsUsed = 0;
  std::size_t paletteOffset = 0;
  std::size_t paletteEntrySize = 4;
  BitmapFields fields;
};

void PutPixel(uint8_t* out, uint8_t blue, uint8_t green, uint8_t red) {
  out[0] = blue;
  out[1] = green;
  out[2] = red;
  out[3] = 255;
}

// Palette lookups; indices past the palette give black.
struct Palette {
  uint32_t colors[256] = {};  // 0xFFRRGGBB in memory order B, G, R, A
  void Put(uint8_t* out, uint32_t index) const {
    const uint32_t color = index < 256 ? colors[index] : 0;
    PutPixel(out, color & 0xFF, color >> 8 & 0xFF, color >> 16 & 0xFF);
  }
};

PictureError ReadBitmapHeader(const uint8_t* data, std::size_t size, BitmapHeader& header) {
  if (size < 14 + 12) {
    return PictureError::Damaged;
  }
  const uint32_t infoSize = Read32(data + 14);
  const uint8_t* info = data + 14;
  if (infoSize > size - 14) {
    return PictureError::Damaged;
  }
  if (infoSize == 12) {  // BITMAPCOREHEADER, with 3-byte palette entries
    header.width = Read16(info + 4);
    header.height = Read16(info + 6);
    header.bitCount = Read16(info + 10);
    header.paletteEntrySize = 3;
  } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 108 ||
             infoSize == 124) {
    header.width = static_cast<int32_t>(Read32(info + 4));
    header.height = static_cast<int32_t>(Read32(info + 8));
    header.bitCount = Read16(info + 14);
    header.compression = Read32(info + 16);
    header.colorsUsed = Read32(info + 32);
  } else {
    return PictureError::Unsupported;
  }
  header.paletteOffset = 14 + infoSize;

  const uint32_t bits = header.bitCount;
  switch (header.compression) {
    case BiRgb:
      if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return PictureError::Unsupported;
      }
      break;
    case BiRle8:
    case BiRle4:
      if (bits != (header.compression == BiRle8 ? 8u : 4u) || header.height < 0) {
        return PictureError::Unsupported;
      }
      break;
    case BiBitfields:
    case BiAlphaBitfields: {
      if (bits != 16 && bits != 32) {
        return PictureError::Unsupported;
      }
      // The masks follow a 40-byte header, or are part of a longer one.
      const std::size_t masks = 14 + 40;
      if (size < masks + 12) {
        return PictureError::Damaged;
      }
      header.fields = {BitmapFields::Channel::From(Read32(data + masks)),
                       BitmapFields::Channel::From(Read32(data + masks + 4)),
                       BitmapFields::Channel::From(Read32(data + masks + 8))};
      if (infoSize == 40) {
        header.paletteOffset += header.compression == BiAlphaBitfields ? 16 : 12;
      }
      break;
    }
    default:
      return PictureError::Unsupported;  // embedded JPEG or PNG, OS/2 Huffman
  }
  if (header.compression == BiRgb && bits == 16) {
    header.fields = {BitmapFields::Channel::From(0x7C00), BitmapFields::Channel::From(0x03E0),
                     BitmapFields::Channel::From(0x001F)};
  }
  if (header.width < 0) {
    return PictureError::Damaged;
  }
  return PictureError::None;
}

Palette ReadPalette(const uint8_t* data, std::size_t size, const BitmapHeader& header) {
  Palette palette;
  if (header.bitCount > 8) {
    return palette;
  }
  const uint32_t full = 1u << header.bitCount;
  const uint32_t count =
      header.colorsUsed == 0 ? full : std::min<uint32_t>(header.colorsUsed, full);
  for (uint32_t i = 0; i < count; ++i) {
    const std::size_t at = header.paletteOffset + i * header.paletteEntrySize;
    if (at + 3 > size) {
      break;  // a short palette: the missing colours are black
    }
    palette.colors[i] = 0xFF000000u | data[at] | data[at + 1] << 8 | data[at + 2] << 16;
  }
  return palette;
}

void DecodeBitmapRow(const uint8_t* in, const BitmapHeader& header, const Palette& palette,
                     int32_t width, uint8_t* out) {
  switch (header.bitCount) {
    case 1:
      for (int32_t x = 0; x < width; ++x) {
        palette.Put(out + x * 4, in[x >> 3] >> (7 - (x & 7)) & 1);
      }
      break;
    case 4:
      for (int32_t x = 0; x < width; ++x) {
        palette.Put(out + x * 4, in[x >> 1] >> ((x & 1) ? 0 : 4) & 0xF);
      }
      break;
    case 8:
      for (int32_t x = 0; x < width; ++x) {
        palette.Put(out + x * 4, in[x]);
      }
      break;
    case 24:
      for (int32_t x = 0; x < width; ++x) {
        PutPixel(out + x * 4, in[x * 3], in[x * 3 + 1], in[x * 3 + 2]);
      }
      break;
    case 16:
    case 32: {
      const BitmapFields& f = header.fields;
      const bool plain = header.bitCount == 32 && header.compression == BiRgb;
      for (int32_t x = 0; x < width; ++x) {
        if (plain) {
          PutPixel(out + x * 4, in[x * 4], in[x * 4 + 1], in[x * 4 + 2]);
          continue;
        }
        const uint32_t pixel = header.bitCount == 16 ? Read16(in + x * 2) : Read32(in + x * 4);
        PutPixel(out + x * 4, f.blue.Of(pixel), f.green.Of(pixel), f.red.Of(pixel));
      }
      break;
    }
    default:
      break;
  }
}

// Run-length encoded 8- and 4-bit bitmaps, always stored bottom-up. Pixels
// the runs skip stay black; runs past the right edge are cut.
PictureError DecodeBitmapRle(const uint8_t* data, std::size_t size, std::size_t offset,
                             const BitmapHeader& header, const Palette& palette, Picture& picture) {
  const int32_t width = picture.width;
  const int32_t height = picture.height;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = picture.pixels.get() + y * picture.Stride();
    for (int32_t x = 0; x < width; ++x) {
      PutPixel(row + x * 4, 0, 0, 0);
    }
  }
  const bool four = header.compression == BiRle4;
  int64_t x = 0;
  int64_t line = 0;  // counted from the bottom
  auto put = [&](uint32_t index) {
    if (x < width && line < height) {
      palette.Put(picture.pixels.get() + (height - 1 - line) * picture.Stride() + x * 4, index);
    }
    ++x;
  };
  std::size_t at = offset;
  while (line < height) {
    if (at + 2 > size) {
      return PictureError::Damaged;  // the data ends before the picture does
    }
    const uint8_t count = data[at];
    const uint8_t value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        put(four ? (i % 2 == 0 ? value >> 4 : value & 0xF) : value);
      }
    } else if (value == 0) {  // end of line
      x = 0;
      ++line;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // move right and up
      if (at + 2 > size) {
        return PictureError::Damaged;
      }
      x += data[at];
      line += data[at + 1];
      at += 2;
    } else {  // `value` pixels stored as they are, padded to a 16-bit boundary
      const std::size_t bytes = four ? (value + 1u) / 2 : value;
      if (at + bytes > size) {
        return PictureError::Damaged;
      }
      for (int i = 0; i < value; ++i) {
        put(four ? (i % 2 == 0 ? data[at + i / 2] >> 4 : data[at + i / 2] & 0xF) : data[at + i]);
      }
      at += (bytes + 1) & ~std::size_t{1};
    }
  }
  return PictureError::None;
}

PictureError DecodeBitmap(const uint8_t* data, std::size_t size, const DecodeOptions& options,
                          Picture& picture) {
  BitmapHeader header;
  if (const PictureError error = ReadBitmapHeader(data, size, header);
      error != PictureError::None) {
    return error;
  }
  const bool topDown = header.height < 0;
  const uint64_t width = static_cast<uint64_t>(header.width);
  const uint64_t height = static_cast<uint64_t>(topDown ? -header.height : header.height);
  picture.stored = {static_cast<int32_t>(width), static_cast<int32_t>(height)};

  uint32_t offset = Read32(data + 10);
  if (offset == 0) {
    offset = static_cast<uint32_t>(header.paletteOffset);  // some writers leave it out
  }
  if (offset > size) {
    return PictureError::Damaged;
  }
  // Uncompressed rows are whole 32-bit words; the last row may lack its
  // padding. Check the data is there before taking memory for it.
  const uint64_t rowBytes = (width * header.bitCount + 31) / 32 * 4;
  if (!WithinLimit(width, height, options)) {
    return PictureError::TooLarge;
  }
  if (header.compression != BiRle8 && header.compression != BiRle4 && width > 0 && height > 0) {
    const uint64_t available = size - offset;
    const uint64_t lastRow = (width * header.bitCount + 7) / 8;
    if (lastRow > available || (height > 1 && rowBytes > (available - lastRow) / (height - 1))) {
      return PictureError::Damaged;
    }
  }
  if (const PictureError error = AllocatePixels(width, height, options, picture);
      error != PictureError::None || !picture.pixels) {
    return error;
  }
  const Palette palette = ReadPalette(data, size, header);
  if (header.compression == BiRle8 || header.compression == BiRle4) {
    return DecodeBitmapRle(data, size, offset, header, palette, picture);
  }
  for (int32_t y = 0; y < picture.height; ++y) {
    const int32_t stored = topDown ? y : picture.height - 1 - y;
    DecodeBitmapRow(data + offset + rowBytes * static_cast<uint64_t>(stored), header, palette,
                    picture.width, picture.pixels.get() + y * picture.Stride());
  }
  return PictureError::None;
}

// ---------------------------------------------------------------- JPEG

// libjpeg's default error handler ends the process. This one returns to the
// setjmp in the decoding step that was running. Warnings that mean the data
// is cut short or corrupt count as errors too, so that a truncated file is
// refused rather than shown half grey.
//
// The end of the data is itself a warning, and libjpeg reads ahead: a
// single-scan file that lacks only its end marker warns while its last rows
// are decoded. There, pixels that really lack their data are caught by the
// entropy decoder (JWRN_HIT_MARKER); a file of several scans that ends early
// shows no other sign, so for those the end of the data is an error.
struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  int warnings;
  bool tooManyScans;
};

// Progressive files may hold any number of scans, each a pass over the
// whole picture: a hostile file would take minutes.
constexpr int MaxJpegScans = 500;
constexpr int MaxJpegWarnings = 100;
// What libjpeg itself may take, beyond the decoded pixels: the whole-picture
// coefficient buffers of progressive files (about 4 bytes a pixel at worst).
constexpr long MaxJpegWorkingMemory = 384L << 20;

[[noreturn]] void JpegFail(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

void JpegMessage(j_common_ptr info, int level) {
  if (level >= 0) {
    return;  // trace messages
  }
  JpegErrors* errors = reinterpret_cast<JpegErrors*>(info->err);
  const int code = info->err->msg_code;
  if (code == JWRN_JPEG_EOF) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->progressive_mode || decompress->comps_in_scan < decompress->num_components) {
      JpegFail(info);
    }
    return;
  }
  if (code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC || ++errors->warnings > MaxJpegWarnings) {
    JpegFail(info);
  }
}

void JpegOutputNothing(j_common_ptr) {}

void JpegProgress(j_common_ptr info) {
  const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > MaxJpegScans) {
    reinterpret_cast<JpegErrors*>(info->err)->tooManyScans = true;
    JpegFail(info);
  }
}

struct JpegDecoder {
  jpeg_decompress_struct info;
  JpegErrors errors;
  jpeg_progress_mgr progress;
};

PictureError JpegFailure(const JpegDecoder& decoder) {
  if (decoder.errors.tooManyScans) {
    return PictureError::Damaged;
  }
  switch (decoder.errors.manager.msg_code) {
    case JERR_OUT_OF_MEMORY:
      return PictureError::OutOfMemory;
    case JERR_NO_BACKING_STORE:  // over MaxJpegWorkingMemory
    case JERR_IMAGE_TOO_BIG:
      return PictureError::TooLarge;
    case JERR_NOTIMPL:
    case JERR_CONVERSION_NOTIMPL:
    case JERR_BAD_PRECISION:
    case JERR_ARITH_NOTIMPL:
      return PictureError::Unsupported;
    default:
      return PictureError::Damaged;
  }
}

// The steps below run libjpeg under setjmp. Nothing in them has a
// destructor, so the longjmp out of libjpeg skips no C++ clean-up.
bool JpegStart(JpegDecoder& decoder, const uint8_t* data, std::size_t size) {
  decoder.info.err = jpeg_std_error(&decoder.errors.manager);
  decoder.errors.manager.error_exit = JpegFail;
  decoder.errors.manager.emit_message = JpegMessage;
  decoder.errors.manager.output_message = JpegOutputNothing;
  decoder.errors.warnings = 0;
  decoder.errors.tooManyScans = false;
  if (setjmp(decoder.errors.jump)) {
    return false;
  }
  jpeg_create_decompress(&decoder.info);
  decoder.info.mem->max_memory_to_use = MaxJpegWorkingMemory;
  decoder.progress.progress_monitor = JpegProgress;
  decoder.info.progress = &decoder.progress;
  jpeg_mem_src(&decoder.info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&decoder.info, TRUE);
  return true;
}

bool JpegChooseOutput(JpegDecoder& decoder, unsigned eighths) {
  if (setjmp(decoder.errors.jump)) {
    return false;
  }
  jpeg_decompress_struct& info = decoder.info;
  info.scale_num = eighths;
  info.scale_denom = 8;
  // Four-colour files come out as CMYK and are turned into RGB below.
  info.out_color_space = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK
                             ? JCS_CMYK
                             : JCS_EXT_BGRA;
  jpeg_calc_output_dimensions(&info);
  return true;
}

// Progressive files are read whole here, into libjpeg's own buffers.
bool JpegStartDecompress(JpegDecoder& decoder) {
  if (setjmp(decoder.errors.jump)) {
    return false;
  }
  jpeg_start_decompress(&decoder.info);
  return true;
}

bool JpegReadPixels(JpegDecoder& decoder, uint8_t* pixels, std::ptrdiff_t stride,
                    const std::function<void(int32_t rows)>& rowsDecoded) {
  if (setjmp(decoder.errors.jump)) {
    return false;
  }
  jpeg_decompress_struct& info = decoder.info;
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[16];
    const JDIMENSION first = info.output_scanline;
    const JDIMENSION count = std::min<JDIMENSION>(16, info.output_height - first);
    for (JDIMENSION i = 0; i < count; ++i) {
      rows[i] = pixels + static_cast<std::ptrdiff_t>(first + i) * stride;
    }
    if (jpeg_read_scanlines(&info, rows, count) == 0) {
      return false;
    }
    if (rowsDecoded) {
      rowsDecoded(static_cast<int32_t>(info.output_scanline));
    }
  }
  // The pixels are complete: whatever follows the last scan is not read, so
  // a file that only lacks its end marker is still shown.
  jpeg_abort_decompress(&info);
  return true;
}

void CmykToBgra(Picture& picture, bool adobeInverted) {
  uint8_t* p = picture.pixels.get();
  const std::size_t count = static_cast<std::size_t>(picture.width) * picture.height;
  for (std::size_t i = 0; i < count; ++i, p += 4) {
    unsigned c = p[0], m = p[1], y = p[2], k = p[3];
    if (!adobeInverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    // Adobe's files store the inks inverted: 255 is no ink.
    PutPixel(p, static_cast<uint8_t>((y * k + 127) / 255),
             static_cast<uint8_t>((m * k + 127) / 255), static_cast<uint8_t>((c * k + 127) / 255));
  }
}

// The smallest n (1 to 8) for which the picture reduced by n/8 still covers
// the wanted size, the way libjpeg rounds reduced sizes (upwards).
unsigned ChooseEighths(PictureSize stored, PictureSize wanted) {
  for (unsigned n = 1; n < 8; ++n) {
    const int64_t width = (int64_t{stored.width} * n + 7) / 8;
    const int64_t height = (int64_t{stored.height} * n + 7) / 8;
    if (width >= wanted.width && height >= wanted.height) {
      return n;
    }
  }
  return 8;
}

PictureError DecodeJpeg(const uint8_t* data, std::size_t size, const DecodeOptions& options,
                        Picture& picture) {
  // Held by a unique_ptr so that the structure (1 KB) lives off the stack,
  // and destroyed on every path.
  auto decoder = std::unique_ptr<JpegDecoder>(new (std::nothrow) JpegDecoder{});
  if (!decoder) {
    return PictureError::OutOfMemory;
  }
  struct Destroy {
    JpegDecoder* decoder;
    ~Destroy() { jpeg_destroy_decompress(&decoder->info); }
  } destroy{decoder.get()};

  if (!JpegStart(*decoder, data, size)) {
    return JpegFailure(*decoder);
  }
  jpeg_decompress_struct& info = decoder->info;
  picture.stored = {static_cast<int32_t>(info.image_width),
                    static_cast<int32_t>(info.image_height)};
  unsigned eighths = 8;
  if (options.drawnSize) {
    eighths = ChooseEighths(picture.stored, options.drawnSize(picture.stored));
  }
  if (!JpegChooseOutput(*decoder, eighths)) {
    return JpegFailure(*decoder);
  }
  // The limit is checked before libjpeg reads the scans and the pixels are
  // taken after, so that a file libjpeg refuses costs no pixel memory.
  if (!WithinLimit(info.output_width, info.output_height, options)) {
    return PictureError::TooLarge;
  }
  if (!JpegStartDecompress(*decoder)) {
    return JpegFailure(*decoder);
  }
  if (const PictureError error =
          AllocatePixels(info.output_width, info.output_height, options, picture);
      error != PictureError::None) {
    return error;
  }
  if (!picture.pixels || info.output_components != 4) {
    return PictureError::Damaged;
  }
  // Rows are shown as they come only where they are final: not for CMYK,
  // which is converted once the whole picture is there.
  std::function<void(int32_t)> rowsDecoded;
  if (options.rowsDecoded && info.out_color_space != JCS_CMYK) {
    rowsDecoded = [&](int32_t rows) { options.rowsDecoded(picture, rows); };
  }
  if (!JpegReadPixels(*decoder, picture.pixels.get(), picture.Stride(), rowsDecoded)) {
    return JpegFailure(*decoder);
  }
  if (info.out_color_space == JCS_CMYK) {
    CmykToBgra(picture, info.saw_Adobe_marker);
  }
  return PictureError::None;
}

// ---------------------------------------------------------------- files

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) {
      CloseHandle(handle_);
    }
  }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

PictureError DecodePicture(const uint8_t* data, std::size_t size, const DecodeOptions& options,
                           Picture& picture) {
  picture = Picture{};
  PictureError error = PictureError::NotAPicture;
  try {
    if (data != nullptr && size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
      error = DecodeJpeg(data, size, options, picture);
    } else if (data != nullptr && size >= 2 && data[0] == 'B' && data[1] == 'M') {
      error = DecodeBitmap(data, size, options, picture);
    } else if (data != nullptr) {
      error = DecodeWithGdi(data, size, options, picture);  // icons and metafiles
    }
  } catch (const std::bad_alloc&) {
    error = PictureError::OutOfMemory;
  } catch (...) {
    error = PictureError::Damaged;  // drawnSize is the caller's code
  }
  if (error != PictureError::None) {
    picture = Picture{};
  }
  return error;
}

PictureError DecodePictureFile(const std::wstring& path, const DecodeOptions& options,
                               Picture& picture) {
  picture = Picture{};
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size;
  if (file.Get() == INVALID_HANDLE_VALUE || !GetFileSizeEx(file.Get(), &size)) {
    return PictureError::CannotOpen;
  }
  // No picture within the limit needs a file much larger than its pixels.
  const uint64_t limit = std::min<uint64_t>(options.maxPixels, UINT32_MAX) * 4 + (16u << 20);
  if (static_cast<uint64_t>(size.QuadPart) > std::min<uint64_t>(limit, SIZE_MAX / 2)) {
    return PictureError::TooLarge;
  }
  const std::size_t length = static_cast<std::size_t>(size.QuadPart);
  std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[length == 0 ? 1 : length]);
  if (!bytes) {
    return PictureError::OutOfMemory;
  }
  std::size_t done = 0;
  while (done < length) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length - done, 1u << 24));
    DWORD got = 0;
    if (!ReadFile(file.Get(), bytes.get() + done, chunk, &got, nullptr)) {
      return PictureError::CannotOpen;
    }
    if (got == 0) {
      break;  // the file shrank while it was read
    }
    done += got;
  }
  return DecodePicture(bytes.get(), done, options, picture);
}

std::optional<PictureSize> MeasurePictureFile(const std::wstring& path) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) {
    return std::nullopt;
  }
  const auto size = ReadPictureSize([&](uint64_t offset, std::span<uint8_t> into) -> std::size_t {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN)) {
      return 0;
    }
    std::size_t done = 0;
    while (done < into.size()) {
      DWORD got = 0;
      if (!ReadFile(file.Get(), into.data() + done, static_cast<DWORD>(into.size() - done), &got,
                    nullptr) ||
          got == 0) {
        break;
      }
      done += got;
    }
    return done;
  });
  if (!size) {
    return std::nullopt;
  }
  return PictureSize{size->width, size->height};
}

const char* PictureErrorText(PictureError error) {
  switch (error) {
    case PictureError::None:
      return "no error";
    case PictureError::CannotOpen:
      return "the file cannot be opened";
    case PictureError::NotAPicture:
      return "not a JPEG or bitmap file";
    case PictureError::Unsupported:
      return "a kind of JPEG or bitmap that is not supported";
    case PictureError::Damaged:
      return "the picture's data is damaged or cut short";
    case PictureError::TooLarge:
      return "the picture is too large";
    case PictureError::OutOfMemory:
      return "not enough memory";
  }
  return "unknown error";
}

}  // namespace seltane
