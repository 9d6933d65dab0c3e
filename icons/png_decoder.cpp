#include "icons/png_decoder.h"

#include "icons/limits.h"

#include <array>

namespace orvu {
namespace {

// A chunk: its length (of the data only), its type, its data, then the
// CRC-32 of type and data.
namespace Chunk {
constexpr std::uint64_t Length = 0;
constexpr std::uint64_t Type = 4;
constexpr std::uint64_t Data = 8;
constexpr std::uint64_t Framing = 12;     // length, type and CRC
constexpr std::uint32_t End = 0x49454E44; // "IEND"
} // namespace Chunk

constexpr std::array<std::uint32_t, 256> CrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
        table[n] = c;
    }
    return table;
}();

} // namespace

std::uint32_t crc32(Bytes bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const std::uint8_t byte : bytes)
        crc = CrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

bool isWholePng(ByteView data) {
    if (!data.startsWith(PngSignature) || data.u32BigEndian(Ihdr::Type) != Ihdr::Tag)
        return false;
    // Each chunk takes at least Framing bytes, so the walk ends.
    for (std::uint64_t at = PngSignature.size(); at < data.size();) {
        const auto length = data.u32BigEndian(at + Chunk::Length);
        const auto type = data.u32BigEndian(at + Chunk::Type);
        if (!length || !type)
            return false;
        const auto typeAndData = data.sub(at + Chunk::Type, 4 + std::uint64_t{*length});
        const auto crc = data.u32BigEndian(at + Chunk::Data + *length);
        if (!typeAndData || !crc || crc32(typeAndData->bytes()) != *crc)
            return false;
        at += Chunk::Framing + *length;
        if (*type == Chunk::End)
            return *length == 0 && at == data.size();
    }
    return false;
}

bool isPng(ByteView data) {
    // Windows looks at the first four bytes only.
    return data.startsWith(Bytes(PngSignature.data(), 4));
}

Result<PngHeader> readPngHeader(ByteView data) {
    if (!data.startsWith(PngSignature) || data.u32BigEndian(Ihdr::Type) != Ihdr::Tag)
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
