// Metafiles, drawn by GDI into a picture of their own size.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/DecodedPicture.h"
#include "platform/PictureHeader.h"

namespace seltane {

// Draws the enhanced or placeable Windows metafile that ExaminePicture found
// showable in `header`, from the whole file's bytes.
PictureError DecodeMetafile(const uint8_t* data, std::size_t size, const PictureHeader& header,
                            const DecodeOptions& options, Picture& picture);

}  // namespace seltane
