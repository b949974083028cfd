// PNG, GIF and TIFF pictures, decoded by the system's imaging component
// (WIC: on every Windows since Vista, on XP with .NET 3.0, and in Wine). It
// is reached through COM only, never linked, so that the programs start
// where it is missing; such pictures then cannot be added or shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/DecodedPicture.h"
#include "platform/PictureHeader.h"

namespace seltane {

// Whether the imaging component is there and has a decoder for the format;
// asked once a process.
bool ImagingComponentDecodes(PictureFormat format);

// Where the imaging component reads the picture from: the file, or bytes in
// memory when `path` is null.
struct ImagingSource {
  const std::wstring* path = nullptr;
  const uint8_t* data = nullptr;
  std::size_t size = 0;
};

// Decodes the first image of the picture ExaminePicture found showable in
// `header`, reduced or in part as the options ask and as JPEGs are.
// Transparent pixels are shown over black, as is what a GIF's first image
// leaves of its screen.
PictureError DecodeWithImagingComponent(const ImagingSource& source, const PictureHeader& header,
                                        const DecodeOptions& options, Picture& picture);

}  // namespace seltane
