#pragma once

#include "icons/byte_view.h"
#include "icons/icon_bitmap.h"
#include "icons/result.h"

namespace orvu {

// The two headers Windows takes for an icon image: BITMAPCOREHEADER ...
namespace CoreHeader {
constexpr std::uint64_t Width = 4; // 16-bit
constexpr std::uint64_t Height = 6;
constexpr std::uint64_t BitCount = 10;
constexpr std::uint32_t Size = 12;
} // namespace CoreHeader

// ... and BITMAPINFOHEADER, the longer one.
namespace InfoHeader {
constexpr std::uint64_t HeaderSize = 0; // biSize, which tells the two headers apart
constexpr std::uint64_t Width = 4;      // 32-bit, signed
constexpr std::uint64_t Height = 8;
constexpr std::uint64_t BitCount = 14;
constexpr std::uint64_t Compression = 16;
constexpr std::uint64_t ColoursUsed = 32;
constexpr std::uint32_t Size = 40;
constexpr std::uint32_t RgbCompression = 0;    // BI_RGB
constexpr std::uint32_t FieldsCompression = 3; // BI_BITFIELDS: three masks follow the header
constexpr std::uint64_t MaskSize = 4;
} // namespace InfoHeader

// Decodes an icon image stored as a device-independent bitmap: a
// BITMAPINFOHEADER (or BITMAPCOREHEADER), the colour table, the colour rows
// and the 1-bpp AND mask rows, both bottom-up with rows padded to 4 bytes,
// the header's height counting both. Depths 1, 4, 8, 16, 24 and 32 bpp;
// 16 and 32 bpp may carry bit-field masks.
//
// Fails when the header, the colour table or the colour rows are not all in
// `data`, or the header is of another kind (BITMAPV4HEADER and
// BITMAPV5HEADER included); a missing AND mask only makes the image opaque.
Result<IconBitmap> decodeDib(ByteView data);

// What the header of a stored image says, without decoding it.
struct ImageHeader {
    int width = 0;
    int height = 0;           // of the picture: a DIB's colour rows, without the mask
    std::uint64_t pixels = 0; // that decoding would make
    int bitCount = 0;         // bits per pixel
};

// The pixels decodeDib would make of `data` and its bit count, from the
// header alone (the rows need not be there); zeros when the header makes no
// image.
ImageHeader dibHeader(ByteView data);

} // namespace orvu
