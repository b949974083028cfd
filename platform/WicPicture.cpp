#include "platform/WicPicture.h"

#include <windows.h>

#include <shlwapi.h>
#include <wincodec.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace seltane {
namespace {

// Rows copied out of the imaging component at a time, and handed to
// DecodeOptions::rowsDecoded.
constexpr int32_t BandRows = 64;

// COM on the calling thread for one call: initialised when the thread has
// no apartment yet (and then left again), used as it is when it has one.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(result_)) {
      CoUninitialize();
    }
  }

 private:
  HRESULT result_;
};

// An interface pointer released when it goes out of scope.
template <typename Interface>
class Com {
 public:
  Com() = default;
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  ~Com() {
    if (pointer_ != nullptr) {
      pointer_->Release();
    }
  }
  Interface** Out() { return &pointer_; }
  void** OutVoid() { return reinterpret_cast<void**>(&pointer_); }
  Interface* Get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

HRESULT CreateFactory(Com<IWICImagingFactory>& factory) {
  return CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                          IID_IWICImagingFactory, factory.OutVoid());
}

const GUID& ContainerOf(PictureFormat format) {
  switch (format) {
    case PictureFormat::Gif:
      return GUID_ContainerFormatGif;
    case PictureFormat::Tiff:
      return GUID_ContainerFormatTiff;
    default:
      return GUID_ContainerFormatPng;
  }
}

PictureError Failure(HRESULT result) {
  switch (result) {
    case E_OUTOFMEMORY:
      return PictureError::OutOfMemory;
    case WINCODEC_ERR_COMPONENTNOTFOUND:
    case WINCODEC_ERR_COMPONENTINITIALIZEFAILURE:
      return PictureError::NoDecoder;
    case WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT:
    case WINCODEC_ERR_UNSUPPORTEDOPERATION:
    case WINCODEC_ERR_UNSUPPORTEDVERSION:
      return PictureError::Unsupported;
    default:
      return PictureError::Damaged;
  }
}

// Copies the source's columns and rows in `from` (its own coordinates) to
// the picture's pixels at (x, y), a band of rows at a time; after each band
// `done` is told how many of the picture's top rows are complete.
HRESULT CopyRows(IWICBitmapSource* source, const PicturePart& from, int32_t x, int32_t y,
                 Picture& picture, const std::function<void(int32_t rows)>& done) {
  for (int32_t row = 0; row < from.height; row += BandRows) {
    const int32_t rows = std::min(BandRows, from.height - row);
    const WICRect rect{from.left, from.top + row, from.width, rows};
    const std::ptrdiff_t stride = picture.Stride();
    uint8_t* target = picture.pixels.get() + (y + row) * stride + std::ptrdiff_t{x} * 4;
    const auto bytes = static_cast<UINT>(stride * (rows - 1) + std::ptrdiff_t{from.width} * 4);
    const HRESULT copied = source->CopyPixels(&rect, static_cast<UINT>(stride), bytes, target);
    if (FAILED(copied)) {
      return copied;
    }
    if (done) {
      done(y + row + rows);
    }
  }
  return S_OK;
}

// A's start along one axis scaled from `from` pixels to `to`, rounded down,
// and its end, rounded up.
int32_t ScaledDown(int64_t at, int64_t from, int64_t to) {
  return static_cast<int32_t>(at * to / from);
}
int32_t ScaledUp(int64_t at, int64_t from, int64_t to) {
  return static_cast<int32_t>((at * to + from - 1) / from);
}

PictureError Decode(const ImagingSource& source, const PictureHeader& header,
                    const DecodeOptions& options, Picture& picture) {
  // The size to decode to, checked and taken before the component reads the
  // picture (Wine's decoders decode the whole image as they open it).
  const PictureSize stored{header.width, header.height};
  picture.stored = stored;
  picture.part = {0, 0, stored.width, stored.height};
  unsigned eighths = 8;
  if (options.drawnSize) {
    eighths = ReductionEighths(stored, options.drawnSize(stored));
  }
  PictureSize size = ReducedSize(stored, eighths);
  if (eighths == 8 && options.shownPart) {
    picture.part = ClampedPart(options.shownPart(stored), stored);
    size = {picture.part.width, picture.part.height};
  }
  if (const PictureError error =
          AllocatePixels(static_cast<uint64_t>(size.width), static_cast<uint64_t>(size.height),
                         options.maxPixels, picture);
      error != PictureError::None) {
    return error;
  }
  const PicturePart& frame = header.frame;
  if (frame != PicturePart{0, 0, stored.width, stored.height}) {
    // Black where the first image does not reach.
    std::memset(picture.pixels.get(), 0, static_cast<std::size_t>(picture.Stride()) * size.height);
  }

  Com<IWICImagingFactory> factory;
  if (FAILED(CreateFactory(factory))) {
    return PictureError::NoDecoder;
  }
  Com<IStream> stream;
  Com<IWICStream> memory;
  if (source.path != nullptr) {
    if (FAILED(SHCreateStreamOnFileEx(source.path->c_str(), STGM_READ | STGM_SHARE_DENY_NONE,
                                      FILE_ATTRIBUTE_NORMAL, FALSE, nullptr, stream.Out()))) {
      return PictureError::CannotOpen;
    }
  } else if (FAILED(factory->CreateStream(memory.Out())) ||
             FAILED(memory->InitializeFromMemory(const_cast<BYTE*>(source.data),
                                                 static_cast<DWORD>(source.size)))) {
    return PictureError::OutOfMemory;
  }
  IStream* input = source.path != nullptr ? stream.Get() : memory.Get();

  Com<IWICBitmapDecoder> decoder;
  HRESULT result = factory->CreateDecoder(ContainerOf(header.format), nullptr, decoder.Out());
  if (FAILED(result)) {
    return PictureError::NoDecoder;
  }
  Com<IWICBitmapFrameDecode> image;
  Com<IWICFormatConverter> converter;
  UINT imageWidth = 0;
  UINT imageHeight = 0;
  if (FAILED(result = decoder->Initialize(input, WICDecodeMetadataCacheOnDemand)) ||
      FAILED(result = decoder->GetFrame(0, image.Out())) ||
      FAILED(result = image->GetSize(&imageWidth, &imageHeight))) {
    return Failure(result);
  }
  if (imageWidth != static_cast<UINT>(frame.width) ||
      imageHeight != static_cast<UINT>(frame.height)) {
    return PictureError::Damaged;  // not the picture that was examined
  }
  // Premultiplied: a transparent pixel's colour is its colour over black.
  if (FAILED(result = factory->CreateFormatConverter(converter.Out())) ||
      FAILED(result = converter->Initialize(image.Get(), GUID_WICPixelFormat32bppPBGRA,
                                            WICBitmapDitherTypeNone, nullptr, 0,
                                            WICBitmapPaletteTypeCustom))) {
    return Failure(result);
  }

  std::function<void(int32_t)> done;
  if (options.rowsDecoded && picture.Whole()) {
    done = [&](int32_t rows) { options.rowsDecoded(picture, rows); };
  }
  if (eighths < 8) {
    // The image scaled to its place in the reduced picture.
    const int32_t left = ScaledDown(frame.left, stored.width, size.width);
    const int32_t top = ScaledDown(frame.top, stored.height, size.height);
    const int32_t right =
        std::min(size.width, ScaledUp(int64_t{frame.left} + frame.width, stored.width, size.width));
    const int32_t bottom = std::min(
        size.height, ScaledUp(int64_t{frame.top} + frame.height, stored.height, size.height));
    const PicturePart scaled{0, 0, std::max(1, right - left), std::max(1, bottom - top)};
    Com<IWICBitmapScaler> scaler;
    if (FAILED(result = factory->CreateBitmapScaler(scaler.Out())) ||
        FAILED(result = scaler->Initialize(converter.Get(), static_cast<UINT>(scaled.width),
                                           static_cast<UINT>(scaled.height),
                                           WICBitmapInterpolationModeFant)) ||
        FAILED(result = CopyRows(scaler.Get(), scaled, std::min(left, size.width - 1),
                                 std::min(top, size.height - 1), picture, done))) {
      return Failure(result);
    }
  } else {
    // The part of the image within the part of the picture decoded.
    const PicturePart& part = picture.part;
    const int32_t left = std::max(part.left, frame.left);
    const int32_t top = std::max(part.top, frame.top);
    const int32_t right = std::min(part.left + part.width, frame.left + frame.width);
    const int32_t bottom = std::min(part.top + part.height, frame.top + frame.height);
    if (right > left && bottom > top &&
        FAILED(result = CopyRows(converter.Get(),
                                 {left - frame.left, top - frame.top, right - left, bottom - top},
                                 left - part.left, top - part.top, picture, done))) {
      return Failure(result);
    }
  }
  const std::size_t bytes = static_cast<std::size_t>(picture.Stride()) * picture.height;
  for (std::size_t alpha = 3; alpha < bytes; alpha += 4) {
    picture.pixels[alpha] = 255;
  }
  if (done) {
    done(picture.height);
  }
  return PictureError::None;
}

}  // namespace

bool ImagingComponentDecodes(PictureFormat format) {
  static const std::array<bool, 3> decodes = [] {
    std::array<bool, 3> found{};
    ComScope com;
    Com<IWICImagingFactory> factory;
    if (SUCCEEDED(CreateFactory(factory))) {
      const PictureFormat formats[] = {PictureFormat::Png, PictureFormat::Gif, PictureFormat::Tiff};
      for (std::size_t i = 0; i < found.size(); ++i) {
        Com<IWICBitmapDecoder> decoder;
        found[i] =
            SUCCEEDED(factory->CreateDecoder(ContainerOf(formats[i]), nullptr, decoder.Out()));
      }
    }
    return found;
  }();
  switch (format) {
    case PictureFormat::Png:
      return decodes[0];
    case PictureFormat::Gif:
      return decodes[1];
    case PictureFormat::Tiff:
      return decodes[2];
    default:
      return false;
  }
}

PictureError DecodeWithImagingComponent(const ImagingSource& source, const PictureHeader& header,
                                        const DecodeOptions& options, Picture& picture) {
  ComScope com;
  return Decode(source, header, options, picture);
}

}  // namespace seltane
