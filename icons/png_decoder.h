#pragma once

#include "icons/byte_view.h"
#include "icons/icon_bitmap.h"
#include "icons/result.h"

#include <array>
#include <cstdint>

namespace orvu {

// Decodes PNG icon images. The library recognises them and checks their
// size; the decoding itself is left to an implementation outside it (libpng,
// Qt, the Windows Imaging Component).
class PngDecoder {
public:
    virtual ~PngDecoder() = default;
    // An image of at most limits::MaxImageSide a side, alpha not premultiplied.
    virtual Result<IconBitmap> decode(ByteView png) const = 0;
};

// What a decoder says of data it can't decode.
inline Failure undecodablePng() {
    return damaged("the PNG image can't be decoded");
}

inline constexpr std::array<std::uint8_t, 8> PngSignature{0x89, 'P',  'N',  'G',
                                                          '\r', '\n', 0x1A, '\n'};

// The IHDR chunk, which must come first after the signature: its length,
// its type, then its fields.
namespace Ihdr {
constexpr std::uint64_t Type = 12;
constexpr std::uint64_t Width = 16; // big-endian, as every PNG number
constexpr std::uint64_t Height = 20;
constexpr std::uint64_t BitDepth = 24;
constexpr std::uint64_t ColourType = 25;
constexpr std::uint32_t Tag = 0x49484452; // "IHDR"
constexpr std::uint8_t Rgba = 6;          // the colour type of RGBA
} // namespace Ihdr

struct PngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitsPerPixel = 0; // bit depth times the channels of the colour type
};

bool isPng(ByteView data);
// Whether `data` is a PNG file whole to its end, as the strictest readers
// want one: the signature, the IHDR chunk first, every chunk inside the data
// with its checksum right, and IEND last with nothing after it. What the
// chunks hold is left to decoding, which stops where the image data ends.
bool isWholePng(ByteView data);
// The CRC-32 of PNG chunks (and zlib, ZIP): polynomial 0xEDB88320.
std::uint32_t crc32(Bytes bytes);

// The size from the IHDR chunk. Fails when it is missing or zero, or larger
// than limits::MaxImageSide: such an image is refused before it is decoded.
Result<PngHeader> readPngHeader(ByteView data);

} // namespace orvu
