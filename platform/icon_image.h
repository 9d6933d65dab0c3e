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

// The pixels that decoding `data` would make, from its header alone: the
// PNG's IHDR size, or the DIB's width times its colour height. 0 when the
// header makes no image that would be decoded.
std::uint64_t claimedPixels(ByteView data);

} // namespace orvu
