#include "png_writer.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

namespace orvu::test {
namespace {

using ByteVector = std::vector<std::uint8_t>;

std::uint32_t crc32(const std::uint8_t* data, std::size_t length, std::uint32_t crc = 0) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < length; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t adler32(const ByteVector& data) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

void appendU32BigEndian(ByteVector& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendChunk(ByteVector& out, std::string_view type, const ByteVector& data) {
    appendU32BigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    appendU32BigEndian(out, crc32(out.data() + typeAt, out.size() - typeAt));
}

// A zlib stream of stored deflate blocks.
ByteVector storedZlib(const ByteVector& raw) {
    ByteVector out{0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - at, 65535);
        const bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0); // BFINAL, BTYPE 00
        out.push_back(static_cast<std::uint8_t>(length));
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.push_back(static_cast<std::uint8_t>(~length));
        out.push_back(static_cast<std::uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    appendU32BigEndian(out, adler32(raw));
    return out;
}

} // namespace

std::vector<std::uint8_t> encodePng(int width, int height, const std::vector<std::uint32_t>& pixels,
                                    PngColours colours) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        throw std::invalid_argument("encodePng: pixels don't match the size");
    const bool alpha = colours == PngColours::Rgba;

    ByteVector png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ByteVector header;
    appendU32BigEndian(header, static_cast<std::uint32_t>(width));
    appendU32BigEndian(header, static_cast<std::uint32_t>(height));
    header.push_back(8);                    // bits per channel
    header.push_back(alpha ? 6 : 2);        // colour type
    header.insert(header.end(), {0, 0, 0}); // deflate, adaptive filtering, no interlace
    appendChunk(png, "IHDR", header);

    ByteVector raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel =
                pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(x)];
            raw.push_back(static_cast<std::uint8_t>(pixel >> 16));
            raw.push_back(static_cast<std::uint8_t>(pixel >> 8));
            raw.push_back(static_cast<std::uint8_t>(pixel));
            if (alpha)
                raw.push_back(static_cast<std::uint8_t>(pixel >> 24));
        }
    }
    appendChunk(png, "IDAT", storedZlib(raw));
    appendChunk(png, "IEND", {});
    return png;
}

} // namespace orvu::test
