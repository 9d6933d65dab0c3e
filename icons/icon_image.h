#pragma once

#include "icons/byte_view.h"
#include "icons/dib_decoder.h"
#include "icons/icon_bitmap.h"
#include "icons/png_decoder.h"

namespace orvu {

// The first bytes of a stored image that say what it is (its format, size
// and depth): a BITMAPINFOHEADER, longer than a BITMAPCOREHEADER and than a
// PNG's signature and IHDR chunk.
inline constexpr std::uint64_t ImageHeadSize = InfoHeader::Size;

// Decodes one stored icon image: PNG when the data starts with the PNG
// signature (through `png`, which may be null where PNG is unsupported),
// otherwise a DIB.
Result<IconBitmap> decodeIconImage(ByteView data, const PngDecoder* png);

// What the image's own header says: its size (the PNG's IHDR size, or the
// DIB's width and colour height), the pixels that decoding `data` would make
// and its bits per pixel (the DIB's bit count, or the PNG's bit depth times
// its channels). Zeros when the header makes no image that would be decoded.
ImageHeader imageHeader(ByteView data);

} // namespace orvu
