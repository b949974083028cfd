// Icons and metafiles, drawn by GDI into a picture of their own size.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Picture.h"

namespace seltane {

// Decodes an icon file (its largest image), an enhanced metafile or a
// placeable Windows metafile. NotAPicture for anything else.
PictureError DecodeWithGdi(const uint8_t* data, std::size_t size, const DecodeOptions& options,
                           Picture& picture);

}  // namespace seltane
