#include "platform/Picture.h"

#include <windows.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstring>
#include <new>
#include <span>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "platform/BitmapPicture.h"
#include "platform/GdiPicture.h"
#include "platform/PictureHeader.h"
#include "platform/WicPicture.h"

namespace seltane {
namespace {

bool WithinLimit(uint64_t width, uint64_t height, const DecodeOptions& options) {
  const uint64_t count = width * height;
  return count <= options.maxPixels && count <= SIZE_MAX / 4;
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
// What libjpeg may take besides the whole-picture coefficient buffers that
// the examination bounds: tables and row buffers, a few MiB even for the
// widest pictures.
constexpr long JpegWorkingMemory = static_cast<long>(MaxJpegCoefficientBytes + (64u << 20));

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

// A source that reads the file as libjpeg asks, in chunks, and seeks over
// what libjpeg skips (metadata segments), so that neither the whole file
// nor its metadata is ever held in memory.
struct JpegFileSource {
  jpeg_source_mgr manager;
  HANDLE file;
  JOCTET buffer[64 * 1024];
};

void JpegSourceStart(j_decompress_ptr) {}
void JpegSourceEnd(j_decompress_ptr) {}

boolean JpegSourceFill(j_decompress_ptr info) {
  auto* source = reinterpret_cast<JpegFileSource*>(info->src);
  DWORD got = 0;
  if (!ReadFile(source->file, source->buffer, sizeof source->buffer, &got, nullptr) || got == 0) {
    // As libjpeg's own sources do: an end marker, after a warning.
    WARNMS(info, JWRN_JPEG_EOF);
    source->buffer[0] = 0xFF;
    source->buffer[1] = JPEG_EOI;
    got = 2;
  }
  source->manager.next_input_byte = source->buffer;
  source->manager.bytes_in_buffer = got;
  return TRUE;
}

void JpegSourceSkip(j_decompress_ptr info, long count) {
  auto* source = reinterpret_cast<JpegFileSource*>(info->src);
  if (count <= 0) {
    return;
  }
  const auto skip = static_cast<std::size_t>(count);
  if (skip <= source->manager.bytes_in_buffer) {
    source->manager.next_input_byte += skip;
    source->manager.bytes_in_buffer -= skip;
    return;
  }
  LARGE_INTEGER distance;
  distance.QuadPart = static_cast<LONGLONG>(skip - source->manager.bytes_in_buffer);
  source->manager.bytes_in_buffer = 0;
  SetFilePointerEx(source->file, distance, nullptr, FILE_CURRENT);
}

struct JpegDecoder {
  jpeg_decompress_struct info;
  JpegErrors errors;
  jpeg_progress_mgr progress;
  JpegFileSource source;
};

PictureError JpegFailure(const JpegDecoder& decoder) {
  if (decoder.errors.tooManyScans) {
    return PictureError::Damaged;
  }
  switch (decoder.errors.manager.msg_code) {
    case JERR_OUT_OF_MEMORY:
      return PictureError::OutOfMemory;
    case JERR_NO_BACKING_STORE:  // over JpegWorkingMemory
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

// Where libjpeg reads from: the bytes in memory, or the open file.
struct JpegInput {
  const uint8_t* data = nullptr;
  std::size_t size = 0;
  HANDLE file = INVALID_HANDLE_VALUE;
};

// The steps below run libjpeg under setjmp. Nothing in them has a
// destructor, so the longjmp out of libjpeg skips no C++ clean-up.
bool JpegStart(JpegDecoder& decoder, const JpegInput& input) {
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
  decoder.info.mem->max_memory_to_use = JpegWorkingMemory;
  decoder.progress.progress_monitor = JpegProgress;
  decoder.info.progress = &decoder.progress;
  if (input.data != nullptr) {
    jpeg_mem_src(&decoder.info, input.data, static_cast<unsigned long>(input.size));
  } else {
    JpegFileSource& source = decoder.source;
    source.file = input.file;
    source.manager.init_source = JpegSourceStart;
    source.manager.fill_input_buffer = JpegSourceFill;
    source.manager.skip_input_data = JpegSourceSkip;
    source.manager.resync_to_restart = jpeg_resync_to_restart;
    source.manager.term_source = JpegSourceEnd;
    source.manager.next_input_byte = nullptr;
    source.manager.bytes_in_buffer = 0;
    decoder.info.src = &source.manager;
  }
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

// libjpeg widens a part to the left to the edge of a block of up to 32
// pixels.
constexpr JDIMENSION JpegCropMargin = 64;

// Decodes only the part: libjpeg passes over the rows above it and decodes
// the columns around it (from a block boundary), and the part's own columns
// are copied out of each row.
bool JpegReadPart(JpegDecoder& decoder, const PicturePart& part, uint8_t* row, Picture& picture) {
  if (setjmp(decoder.errors.jump)) {
    return false;
  }
  jpeg_decompress_struct& info = decoder.info;
  JDIMENSION left = static_cast<JDIMENSION>(part.left);
  JDIMENSION width = static_cast<JDIMENSION>(part.width);
  jpeg_crop_scanline(&info, &left, &width);
  if (width > static_cast<JDIMENSION>(part.width) + JpegCropMargin ||
      jpeg_skip_scanlines(&info, static_cast<JDIMENSION>(part.top)) !=
          static_cast<JDIMENSION>(part.top)) {
    return false;
  }
  const std::size_t offset = (static_cast<std::size_t>(part.left) - left) * 4;
  for (int32_t y = 0; y < part.height; ++y) {
    JSAMPROW rows[1] = {row};
    if (jpeg_read_scanlines(&info, rows, 1) != 1) {
      return false;
    }
    std::memcpy(picture.pixels.get() + y * picture.Stride(), row + offset,
                static_cast<std::size_t>(picture.Stride()));
  }
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
    p[0] = static_cast<uint8_t>((y * k + 127) / 255);
    p[1] = static_cast<uint8_t>((m * k + 127) / 255);
    p[2] = static_cast<uint8_t>((c * k + 127) / 255);
    p[3] = 255;
  }
}

PictureError DecodeJpeg(const JpegInput& input, const DecodeOptions& options, Picture& picture) {
  // Held by a unique_ptr so that the structure (with the file source's
  // buffer) lives off the stack, and destroyed on every path.
  auto decoder = std::unique_ptr<JpegDecoder>(new (std::nothrow) JpegDecoder{});
  if (!decoder) {
    return PictureError::OutOfMemory;
  }
  struct Destroy {
    JpegDecoder* decoder;
    ~Destroy() { jpeg_destroy_decompress(&decoder->info); }
  } destroy{decoder.get()};

  if (!JpegStart(*decoder, input)) {
    return JpegFailure(*decoder);
  }
  jpeg_decompress_struct& info = decoder->info;
  picture.stored = {static_cast<int32_t>(info.image_width),
                    static_cast<int32_t>(info.image_height)};
  picture.part = {0, 0, picture.stored.width, picture.stored.height};
  unsigned eighths = 8;
  if (options.drawnSize) {
    eighths = ReductionEighths(picture.stored, options.drawnSize(picture.stored));
  }
  if (!JpegChooseOutput(*decoder, eighths)) {
    return JpegFailure(*decoder);
  }
  // Drawn at its own size, only the part that is shown is decoded.
  if (eighths == 8 && options.shownPart) {
    picture.part = ClampedPart(options.shownPart(picture.stored), picture.stored);
  }
  const bool whole = picture.Whole();
  const uint64_t width = whole ? info.output_width : static_cast<uint64_t>(picture.part.width);
  const uint64_t height = whole ? info.output_height : static_cast<uint64_t>(picture.part.height);
  // The limit is checked before libjpeg reads the scans and the pixels are
  // taken after, so that a file libjpeg refuses costs no pixel memory.
  if (!WithinLimit(width, height, options)) {
    return PictureError::TooLarge;
  }
  if (!JpegStartDecompress(*decoder)) {
    return JpegFailure(*decoder);
  }
  if (const PictureError error = AllocatePixels(width, height, options.maxPixels, picture);
      error != PictureError::None) {
    return error;
  }
  if (!picture.pixels || info.output_components != 4) {
    return PictureError::Damaged;
  }
  if (whole) {
    // Rows are shown as they come only where they are final: not for CMYK,
    // which is converted once the whole picture is there.
    std::function<void(int32_t)> rowsDecoded;
    if (options.rowsDecoded && info.out_color_space != JCS_CMYK) {
      rowsDecoded = [&](int32_t rows) { options.rowsDecoded(picture, rows); };
    }
    if (!JpegReadPixels(*decoder, picture.pixels.get(), picture.Stride(), rowsDecoded)) {
      return JpegFailure(*decoder);
    }
  } else {
    // A row of the part, widened to block boundaries on both sides.
    std::vector<uint8_t> row((static_cast<std::size_t>(picture.part.width) + JpegCropMargin) * 4);
    if (!JpegReadPart(*decoder, picture.part, row.data(), picture)) {
      return JpegFailure(*decoder);
    }
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

HANDLE OpenForReading(const std::wstring& path, DWORD flags) {
  return CreateFileW(path.c_str(), GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     flags, nullptr);
}

// Reads at the offset. (A read given its offset in an OVERLAPPED costs Wine
// a call to its server more than a seek and a plain read.)
std::size_t ReadAt(HANDLE file, uint64_t offset, std::span<uint8_t> into) {
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) {
    return 0;
  }
  std::size_t done = 0;
  while (done < into.size()) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(into.size() - done, 1u << 24));
    if (!ReadFile(file, into.data() + done, chunk, &got, nullptr) || got == 0) {
      break;
    }
    done += got;
  }
  return done;
}

// The file's examination, reading only what it looks at.
PictureHeaderResult ExamineFile(HANDLE file, uint64_t maxPixels) {
  return ExaminePicture(
      [file](uint64_t offset, std::span<uint8_t> into) { return ReadAt(file, offset, into); },
      [file] {
        LARGE_INTEGER size;
        return GetFileSizeEx(file, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
      },
      maxPixels);
}

PictureError DecodeExamined(const PictureHeader& header, const uint8_t* data, std::size_t size,
                            const DecodeOptions& options, Picture& picture) {
  switch (header.format) {
    case PictureFormat::Jpeg:
      return DecodeJpeg({data, size}, options, picture);
    case PictureFormat::Bitmap:
    case PictureFormat::Icon:
      return DecodeBitmapPicture(std::span<const uint8_t>(data, size), header, options, picture);
    case PictureFormat::EnhancedMetafile:
    case PictureFormat::PlaceableMetafile:
      return DecodeMetafile(data, size, header, options, picture);
    case PictureFormat::Png:
    case PictureFormat::Gif:
    case PictureFormat::Tiff:
      return DecodeWithImagingComponent({nullptr, data, size}, header, options, picture);
  }
  return PictureError::NotAPicture;
}

// Runs a decode, turning what it throws into an error and leaving the
// picture empty on every failure.
template <typename Decode>
PictureError Guarded(Picture& picture, Decode decode) {
  picture = Picture{};
  PictureError error = PictureError::Damaged;
  try {
    error = decode();
  } catch (const std::bad_alloc&) {
    error = PictureError::OutOfMemory;
  } catch (...) {
    error = PictureError::Damaged;  // the options' callbacks are the caller's code
  }
  if (error != PictureError::None) {
    picture = Picture{};
  }
  return error;
}

}  // namespace

PictureError DecodePicture(const uint8_t* data, std::size_t size, const DecodeOptions& options,
                           Picture& picture) {
  return Guarded(picture, [&] {
    if (data == nullptr) {
      return PictureError::NotAPicture;
    }
    const PictureHeaderResult examined =
        ExaminePicture(std::span<const uint8_t>(data, size), options.maxPixels);
    if (examined.verdict != PictureError::None) {
      return examined.verdict;
    }
    return DecodeExamined(examined.header, data, size, options, picture);
  });
}

PictureError DecodePictureFile(const std::wstring& path, const DecodeOptions& options,
                               Picture& picture) {
  return Guarded(picture, [&] {
    FileHandle file(OpenForReading(path, FILE_FLAG_SEQUENTIAL_SCAN));
    if (file.Get() == INVALID_HANDLE_VALUE) {
      return PictureError::CannotOpen;
    }
    const PictureHeaderResult examined = ExamineFile(file.Get(), options.maxPixels);
    if (examined.verdict != PictureError::None) {
      return examined.verdict;
    }
    if (examined.header.format == PictureFormat::Jpeg) {
      // The examination moved the file pointer: libjpeg starts at 0.
      if (!SetFilePointerEx(file.Get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN)) {
        return PictureError::CannotOpen;
      }
      JpegInput input;
      input.file = file.Get();
      return DecodeJpeg(input, options, picture);
    }
    if (DecodedByImagingComponent(examined.header.format)) {
      return DecodeWithImagingComponent({&path}, examined.header, options, picture);
    }
    // The examination keeps what is read within the largest picture's needs.
    const auto length = static_cast<std::size_t>(examined.header.bytesNeeded);
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[length == 0 ? 1 : length]);
    if (!bytes) {
      return PictureError::OutOfMemory;
    }
    if (ReadAt(file.Get(), 0, std::span<uint8_t>(bytes.get(), length)) != length) {
      return PictureError::Damaged;  // the file shrank since it was examined
    }
    return DecodeExamined(examined.header, bytes.get(), length, options, picture);
  });
}

std::optional<PictureSize> MeasurePictureFile(const std::wstring& path) {
  FileHandle file(OpenForReading(path, FILE_ATTRIBUTE_NORMAL));
  if (file.Get() == INVALID_HANDLE_VALUE) {
    return std::nullopt;
  }
  const PictureHeaderResult examined = ExamineFile(file.Get(), DefaultMaxPicturePixels);
  if (examined.verdict != PictureError::None ||
      (DecodedByImagingComponent(examined.header.format) &&
       !ImagingComponentDecodes(examined.header.format))) {
    return std::nullopt;
  }
  return PictureSize{examined.header.width, examined.header.height};
}

}  // namespace seltane
