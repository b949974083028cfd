#include "platform/GdiPicture.h"

#include <windows.h>

#include <cstring>
#include <functional>
#include <span>

#include "platform/PictureHeader.h"

namespace seltane {
namespace {

uint32_t Read32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Draws with GDI on a white 32-bit surface of the picture's size and copies
// the pixels out.
PictureError Render(int32_t width, int32_t height, const DecodeOptions& options, Picture& picture,
                    const std::function<bool(HDC, const RECT&)>& draw) {
  if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > options.maxPixels ||
      width > 16384 || height > 16384) {
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

PictureError DecodeIcon(const uint8_t* data, std::size_t size, const PictureHeaderSize& header,
                        const DecodeOptions& options, Picture& picture) {
  // The directory entry of the image the header chose: the first of that size.
  const uint16_t count = static_cast<uint16_t>(data[4] | (data[5] << 8));
  for (uint16_t index = 0; index < count && 6 + (index + 1) * 16u <= size; ++index) {
    const uint8_t* entry = data + 6 + index * 16;
    const int32_t width = entry[0] == 0 ? 256 : entry[0];
    const int32_t height = entry[1] == 0 ? 256 : entry[1];
    const uint32_t bytes = Read32(entry + 8);
    const uint32_t offset = Read32(entry + 12);
    if (width != header.width || height != header.height || offset > size ||
        bytes > size - offset) {
      continue;
    }
    HICON icon = CreateIconFromResourceEx(const_cast<uint8_t*>(data + offset), bytes, TRUE,
                                          0x00030000, width, height, LR_DEFAULTCOLOR);
    if (icon == nullptr) {
      return PictureError::Damaged;
    }
    const PictureError error =
        Render(width, height, options, picture, [&](HDC dc, const RECT& area) {
          return DrawIconEx(dc, 0, 0, icon, area.right, area.bottom, 0, nullptr, DI_NORMAL) != 0;
        });
    DestroyIcon(icon);
    return error;
  }
  return PictureError::Damaged;
}

PictureError DrawMetafile(HENHMETAFILE metafile, const PictureHeaderSize& header,
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

PictureError DecodeWithGdi(const uint8_t* data, std::size_t size, const DecodeOptions& options,
                           Picture& picture) {
  const auto header = PictureSizeFromBytes(std::span<const uint8_t>(data, size));
  if (!header) {
    return PictureError::NotAPicture;
  }
  switch (header->format) {
    case PictureFormat::Icon:
      return DecodeIcon(data, size, *header, options, picture);
    case PictureFormat::EnhancedMetafile:
      return DrawMetafile(SetEnhMetaFileBits(static_cast<UINT>(size), data), *header, options,
                          picture);
    case PictureFormat::PlaceableMetafile: {
      // The placeable header (22 bytes) precedes a plain metafile.
      constexpr std::size_t PlaceableHeaderSize = 22;
      if (size <= PlaceableHeaderSize) {
        return PictureError::Damaged;
      }
      METAFILEPICT frame{MM_ANISOTROPIC, header->width * 2540 / 96, header->height * 2540 / 96,
                         nullptr};
      return DrawMetafile(SetWinMetaFileBits(static_cast<UINT>(size - PlaceableHeaderSize),
                                             data + PlaceableHeaderSize, nullptr, &frame),
                          *header, options, picture);
    }
    default:
      return PictureError::NotAPicture;
  }
}

}  // namespace seltane
