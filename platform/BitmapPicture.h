// Decoding of Windows bitmaps (every depth, bit fields, run-length data) and
// of icons, in plain code over the file's bytes.
#pragma once

#include <cstdint>
#include <span>

#include "platform/DecodedPicture.h"
#include "platform/PictureHeader.h"

namespace seltane {

// Decodes the bitmap or icon that ExaminePicture found showable in `header`,
// from the file's first header.bytesNeeded bytes or more. An icon's image is
// drawn on white, as its transparency mask or alpha channel says. On
// failure `picture` is left empty.
PictureError DecodeBitmapPicture(std::span<const uint8_t> file, const PictureHeader& header,
                                 const DecodeOptions& options, Picture& picture);

}  // namespace seltane
