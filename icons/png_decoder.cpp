#include "icons/png_decoder.h"

#include "icons/limits.h"

#include <array>

namespace orvu {
namespace {

constexpr std::array<std::uint8_t, 8> Signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The IHDR chunk, which must come first: length, type, then its fields.
namespace Ihdr {
constexpr std::uint64_t Type = 12;
constexpr std::uint64_t Width = 16; // big-endian, as every PNG number
constexpr std::uint64_t Height = 20;
constexpr std::uint64_t BitDepth = 24;
constexpr std::uint64_t ColourType = 25;
constexpr std::uint32_t Tag = 0x49484452; // "IHDR"
} // namespace Ihdr

} // namespace

bool isPng(ByteView data) {
    // Windows looks at the first four bytes only.
    return data.startsWith(Bytes(Signature.data(), 4));
}

Result<PngHeader> readPngHeader(ByteView data) {
    if (!data.startsWith(Signature) || data.u32BigEndian(Ihdr::Type) != Ihdr::Tag)
        return damaged("a PNG image without its signature and IHDR chunk");
    const auto width = data.u32BigEndian(Ihdr::Width);
    const auto height = data.u32BigEndian(Ihdr::Height);
    if (!width || !height || *width == 0 || *height == 0)
        return damaged("a PNG image without a size");
    if (*width > static_cast<std::uint32_t>(limits::MaxImageSide) ||
        *height > static_cast<std::uint32_t>(limits::MaxImageSide))
        return Failure{Failure::Kind::OverLimit, "a PNG image of " + std::to_string(*width) +
                                                     " x " + std::to_string(*height) + " pixels"};
    // Grey, (unused), RGB, palette, grey and alpha, (unused), RGBA.
    static constexpr int Channels[] = {1, 0, 3, 1, 2, 0, 4};
    const auto depth = data.u8(Ihdr::BitDepth);
    const auto colourType = data.u8(Ihdr::ColourType);
    const int channels = colourType && *colourType < 7 ? Channels[*colourType] : 0;
    return PngHeader{*width, *height, depth ? *depth * channels : 0};
}

} // namespace orvu
