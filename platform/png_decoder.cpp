#include "png_decoder.h"

#include "reader_limits.h"

#include <array>

namespace orvu {
namespace {

constexpr std::array<std::uint8_t, 8> Signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint32_t IhdrTag = 0x49484452; // "IHDR"

} // namespace

bool isPng(ByteView data) {
    // Windows looks at the first four bytes only.
    return data.startsWith(Bytes(Signature.data(), 4));
}

std::optional<PngHeader> readPngHeader(ByteView data) {
    if (!data.startsWith(Signature) || data.u32BigEndian(12) != IhdrTag)
        return std::nullopt;
    const auto width = data.u32BigEndian(16);
    const auto height = data.u32BigEndian(20);
    if (!width || !height || *width == 0 || *height == 0 ||
        *width > static_cast<std::uint32_t>(limits::MaxImageSide) ||
        *height > static_cast<std::uint32_t>(limits::MaxImageSide))
        return std::nullopt;
    return PngHeader{*width, *height};
}

} // namespace orvu
