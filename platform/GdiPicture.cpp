#include "platform/GdiPicture.h"

#include <windows.h>

#include <cstring>
#include <functional>

#include "platform/PictureHeader.h"

namespace seltane {
namespace {

// Draws with GDI on a white 32-bit surface of the picture's size and copies
// the pixels out.
PictureError Render(int32_t width, int32_t height, const DecodeOptions& options, Picture& picture,
                    const std::function<bool(HDC, const RECT&)>& draw) {
  if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > options.maxPixels ||
      width > MaxMetafileSide || height > MaxMetafileSide) {
    return PictureError::TooLarge;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP surface = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dc == nullptr || surface == nullptr) {
    if (dc != nullptr) {
      DeleteDC(dc);
    }
    return PictureError::OutOfMemory;
  }
  HGDIOBJ previous = SelectObject(dc, surface);
  const RECT area{0, 0, width, height};
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const bool drawn = draw(dc, area);
  GdiFlush();
  PictureError error = PictureError::Damaged;
  if (drawn) {
    const std::size_t bytes = static_cast<std::size_t>(width) * height * 4;
    picture.pixels.reset(new (std::nothrow) uint8_t[bytes]);
    if (picture.pixels) {
      std::memcpy(picture.pixels.get(), bits, bytes);
      for (std::size_t alpha = 3; alpha < bytes; alpha += 4) {
        picture.pixels[alpha] = 255;
      }
      picture.width = width;
      picture.height = height;
      picture.stored = {width, height};
      picture.part = {0, 0, width, height};
      error = PictureError::None;
    } else {
      error = PictureError::OutOfMemory;
    }
  }
  SelectObject(dc, previous);
  DeleteObject(surface);
  DeleteDC(dc);
  return error;
}

PictureError DrawMetafile(HENHMETAFILE metafile, const PictureHeader& header,
                          const DecodeOptions& options, Picture& picture) {
  if (metafile == nullptr) {
    return PictureError::Damaged;
  }
  const PictureError error =
      Render(header.width, header.height, options, picture,
             [&](HDC dc, const RECT& area) { return PlayEnhMetaFile(dc, metafile, &area) != 0; });
  DeleteEnhMetaFile(metafile);
  return error;
}

}  // namespace

PictureError DecodeMetafile(const uint8_t* data, std::size_t size, const PictureHeader& header,
                            const DecodeOptions& options, Picture& picture) {
  picture = Picture{};
  switch (header.format) {
    case PictureFormat::EnhancedMetafile:
      return DrawMetafile(SetEnhMetaFileBits(static_cast<UINT>(size), data), header, options,
                          picture);
    case PictureFormat::PlaceableMetafile: {
      // The placeable header (22 bytes) precedes a plain metafile, whose
      // frame is given in 0.01 mm at 96 pixels an inch.
      constexpr std::size_t PlaceableHeaderSize = 22;
      if (size <= PlaceableHeaderSize) {
        return PictureError::Damaged;
      }
      METAFILEPICT frame{MM_ANISOTROPIC, static_cast<LONG>(int64_t{header.width} * 2540 / 96),
                         static_cast<LONG>(int64_t{header.height} * 2540 / 96), nullptr};
      return DrawMetafile(SetWinMetaFileBits(static_cast<UINT>(size - PlaceableHeaderSize),
                                             data + PlaceableHeaderSize, nullptr, &frame),
                          header, options, picture);
    }
    default:
      return PictureError::NotAPicture;
  }
}

}  // namespace seltane
