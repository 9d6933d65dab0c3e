#pragma once

// A PNG writer for tests and fuzz seeds, without a compression library: the
// image data goes into stored deflate blocks, or, for all-zero data, into
// runs of 258-byte matches that keep a 1 024 x 1 024 image under 30 KB.

#include "icons/png_decoder.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orvu::test {

struct PngFormat {
    std::uint32_t width = 1;
    std::uint32_t height = 1;
    std::uint8_t depth = 8;
    std::uint8_t colourType = 6;            // 0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA
    std::vector<std::uint8_t> palette;      // PLTE: RGB triples
    std::vector<std::uint8_t> transparency; // tRNS
    bool interlaced = false;                // Adam7
    // Further chunks, written before the image data: {tag, body}.
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> extraChunks;
};

namespace png_detail {

inline void appendBigEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

inline void appendChunk(std::vector<std::uint8_t>& png, const char* tag,
                        const std::vector<std::uint8_t>& body) {
    appendBigEndian(png, static_cast<std::uint32_t>(body.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), tag, tag + 4);
    png.insert(png.end(), body.begin(), body.end());
    appendBigEndian(png, crc32(Bytes(png.data() + start, png.size() - start)));
}

// The Adler-32 of `length` bytes, all zero unless `data` is given.
inline std::uint32_t adler32(const std::uint8_t* data, std::size_t length) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::size_t i = 0; i < length; ++i) {
        a = (a + (data ? data[i] : 0)) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

inline std::vector<std::uint8_t> storedZlib(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> out{0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - at, 65535);
        out.push_back(at + length == raw.size() ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(length));
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.push_back(static_cast<std::uint8_t>(~length));
        out.push_back(static_cast<std::uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    appendBigEndian(out, adler32(raw.data(), raw.size()));
    return out;
}

// `length` zero bytes as one fixed-Huffman block: a literal 0, then matches
// of 258 bytes at distance 1.
inline std::vector<std::uint8_t> zeroZlib(std::size_t length) {
    std::vector<std::uint8_t> out{0x78, 0x01};
    std::uint32_t bits = 0;
    int count = 0;
    const auto put = [&](std::uint32_t value, int width) { // least significant bit first
        for (int i = 0; i < width; ++i) {
            bits |= ((value >> i) & 1) << count;
            if (++count == 8) {
                out.push_back(static_cast<std::uint8_t>(bits));
                bits = 0;
                count = 0;
            }
        }
    };
    const auto putCode = [&](std::uint32_t code, int width) { // most significant bit first
        for (int i = width - 1; i >= 0; --i)
            put((code >> i) & 1, 1);
    };
    put(1, 1); // the last block
    put(1, 2); // fixed Huffman codes
    std::size_t done = 0;
    if (length > 0) {
        putCode(0x30, 8); // literal 0
        done = 1;
    }
    while (length - done >= 258 + 3) {
        putCode(0xC5, 8); // length code 285: 258 bytes
        put(0, 5);        // distance code 0: 1 byte back
        done += 258;
    }
    for (; done < length; ++done)
        putCode(0x30, 8);
    putCode(0, 7); // end of block
    if (count)
        out.push_back(static_cast<std::uint8_t>(bits));
    appendBigEndian(out, adler32(nullptr, length));
    return out;
}

inline std::vector<std::uint8_t> withImageData(const PngFormat& format,
                                               const std::vector<std::uint8_t>& zlib) {
    static constexpr std::array<std::uint8_t, 8> Signature{0x89, 'P',  'N',  'G',
                                                           '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> png(Signature.begin(), Signature.end());
    std::vector<std::uint8_t> header;
    appendBigEndian(header, format.width);
    appendBigEndian(header, format.height);
    header.insert(header.end(), {format.depth, format.colourType, 0, 0,
                                 static_cast<std::uint8_t>(format.interlaced ? 1 : 0)});
    appendChunk(png, "IHDR", header);
    for (const auto& [tag, body] : format.extraChunks)
        appendChunk(png, tag.c_str(), body);
    if (!format.palette.empty())
        appendChunk(png, "PLTE", format.palette);
    if (!format.transparency.empty())
        appendChunk(png, "tRNS", format.transparency);
    appendChunk(png, "IDAT", zlib);
    appendChunk(png, "IEND", {});
    return png;
}

} // namespace png_detail

// The rows of image data a PNG of this header holds, each a filter byte and
// the packed samples, by their lengths; an interlaced image holds seven such
// sub-images, less the empty ones.
inline std::vector<std::size_t> pngRowLengths(const PngFormat& format) {
    int channels = 1;
    if (format.colourType == 2)
        channels = 3;
    else if (format.colourType == 4)
        channels = 2;
    else if (format.colourType == 6)
        channels = 4;
    std::vector<std::size_t> rows;
    const auto addImage = [&](std::size_t width, std::size_t height) {
        if (width == 0)
            return;
        const std::size_t samples = width * static_cast<std::size_t>(channels);
        rows.insert(rows.end(), height, 1 + (samples * format.depth + 7) / 8);
    };
    if (!format.interlaced) {
        addImage(format.width, format.height);
        return rows;
    }
    struct Pass {
        std::size_t x0, y0, dx, dy;
    };
    static constexpr Pass Adam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                     {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    const auto count = [](std::size_t size, std::size_t first, std::size_t step) {
        return size > first ? (size - first + step - 1) / step : 0;
    };
    for (const Pass& pass : Adam7)
        addImage(count(format.width, pass.x0, pass.dx), count(format.height, pass.y0, pass.dy));
    return rows;
}

// Bytes of image data a PNG of this header holds.
inline std::size_t pngRawLength(const PngFormat& format) {
    std::size_t length = 0;
    for (std::size_t row : pngRowLengths(format))
        length += row;
    return length;
}

// A PNG of the header `format` whose image data is `raw` (filter bytes included).
inline std::vector<std::uint8_t> encodePng(const PngFormat& format,
                                           const std::vector<std::uint8_t>& raw) {
    return png_detail::withImageData(format, png_detail::storedZlib(raw));
}

// A PNG of the header `format` whose image data is `rawLength` zero bytes: by
// default as many as the header calls for, a transparent black image.
inline std::vector<std::uint8_t> zeroPng(const PngFormat& format, std::size_t rawLength) {
    return png_detail::withImageData(format, png_detail::zeroZlib(rawLength));
}
inline std::vector<std::uint8_t> zeroPng(const PngFormat& format) {
    return zeroPng(format, pngRawLength(format));
}

enum class PngColours {
    Rgb,  // colour type 2: the alpha byte of each pixel is dropped
    Rgba, // colour type 6
};

// An 8-bit RGB or RGBA PNG of `pixels`, 0xAARRGGBB from the top-left, not
// premultiplied.
inline std::vector<std::uint8_t> encodePng(int width, int height,
                                           const std::vector<std::uint32_t>& pixels,
                                           PngColours colours = PngColours::Rgba) {
    const bool alpha = colours == PngColours::Rgba;
    PngFormat format;
    format.width = static_cast<std::uint32_t>(width);
    format.height = static_cast<std::uint32_t>(height);
    format.colourType = alpha ? 6 : 2;
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel =
                pixels.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                          static_cast<std::size_t>(x));
            raw.push_back(static_cast<std::uint8_t>(pixel >> 16));
            raw.push_back(static_cast<std::uint8_t>(pixel >> 8));
            raw.push_back(static_cast<std::uint8_t>(pixel));
            if (alpha)
                raw.push_back(static_cast<std::uint8_t>(pixel >> 24));
        }
    }
    return encodePng(format, raw);
}

} // namespace orvu::test
