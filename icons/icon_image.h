#pragma once

#include "icons/byte_view.h"
#include "icons/icon_bitmap.h"
#include "icons/png_decoder.h"

namespace orvu {

// Decodes one stored icon image: PNG when the data starts with the PNG
// signature (through `png`, which may be null where PNG is unsupported),
// otherwise a DIB.
Result<IconBitmap> decodeIconImage(ByteView data, const PngDecoder* png);

// The pixels that decoding `data` would make, from its header alone: the
// PNG's IHDR size, or the DIB's width times its colour height. 0 when the
// header makes no image that would be decoded.
std::uint64_t claimedPixels(ByteView data);

// The bits per pixel the image's own header gives: the DIB's bit count, or
// the PNG's bit depth times its channels. 0 when the header doesn't say.
int storedBitCount(ByteView data);

} // namespace orvu
