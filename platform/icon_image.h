#pragma once

#include "byte_view.h"
#include "icon_bitmap.h"
#include "png_decoder.h"

#include <optional>

namespace orvu {

// Decodes one stored icon image: PNG when the data starts with the PNG
// signature (through `png`, which may be null where PNG is unsupported),
// otherwise a DIB.
std::optional<IconBitmap> decodeIconImage(ByteView data, const PngDecoder* png);

} // namespace orvu
