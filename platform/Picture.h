// Decoding of picture files: JPEG (through libjpeg-turbo), PNG, GIF and TIFF
// (through the system's imaging component), Windows bitmaps, icons and
// metafiles, told apart by their first bytes rather than by the file name.
// Every file is examined first (PictureHeader), so that what is refused
// there is refused here, and what passes is shown unless its data turns out
// damaged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/DecodedPicture.h"

namespace seltane {

// Decodes the file. On failure `picture` is left empty and the error says
// why; never throws. JPEG, PNG, GIF and TIFF files are read as they decode,
// a JPEG's metadata passed over; other files are read up to the end of their
// pixels.
PictureError DecodePictureFile(const std::wstring& path, const DecodeOptions& options,
                               Picture& picture);

// The same for a file's bytes already in memory.
PictureError DecodePicture(const uint8_t* data, std::size_t size, const DecodeOptions& options,
                           Picture& picture);

// The picture's size from its file's header alone, reading only the bytes
// the header needs; nothing when the file cannot be read or the decoders
// would not show it (a PNG, GIF or TIFF also when this system's imaging
// component is missing or has no decoder for it).
std::optional<PictureSize> MeasurePictureFile(const std::wstring& path);

}  // namespace seltane
