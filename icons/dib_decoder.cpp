#include "icons/dib_decoder.h"

#include "icons/limits.h"

#include <algorithm>
#include <array>
#include <bit>

namespace orvu {
namespace {

struct DibLayout {
    std::int64_t width = 0;
    std::int64_t height = 0; // of the colour image: half the stored height
    int bitCount = 0;
    bool bitFields = false;
    std::uint64_t colourTableAt = 0;
    std::uint32_t colourCount = 0;
    std::uint32_t colourEntrySize = 4; // RGBQUAD; RGBTRIPLE for core headers
};

Result<DibLayout> readLayout(ByteView data) {
    const auto headerSize = data.u32(InfoHeader::HeaderSize);
    if (!headerSize)
        return damaged("the image is shorter than its header");

    DibLayout layout;
    std::uint32_t coloursUsed = 0;
    // Windows takes icon images with these two headers only: a V4 or V5
    // header, or any other size, makes the image invalid.
    if (*headerSize == CoreHeader::Size) {
        const auto width = data.u16(CoreHeader::Width);
        const auto height = data.u16(CoreHeader::Height);
        const auto bitCount = data.u16(CoreHeader::BitCount);
        if (!width || !height || !bitCount)
            return damaged("the image is shorter than its header");
        layout.width = *width;
        layout.height = *height / 2;
        layout.bitCount = *bitCount;
        layout.colourTableAt = CoreHeader::Size;
        layout.colourEntrySize = 3;
    } else if (*headerSize == InfoHeader::Size) {
        const auto width = data.i32(InfoHeader::Width);
        const auto height = data.i32(InfoHeader::Height);
        const auto bitCount = data.u16(InfoHeader::BitCount);
        const auto compression = data.u32(InfoHeader::Compression);
        const auto used = data.u32(InfoHeader::ColoursUsed);
        if (!width || !height || !bitCount || !compression || !used)
            return damaged("the image is shorter than its header");
        layout.width = *width;
        layout.height = *height / 2;
        layout.bitCount = *bitCount;
        layout.bitFields = *compression == InfoHeader::FieldsCompression;
        if (*compression != InfoHeader::RgbCompression && !layout.bitFields)
            return damaged("compression " + std::to_string(*compression) +
                           " is not taken in icons");
        if (layout.bitFields && layout.bitCount != 16 && layout.bitCount != 32)
            return damaged("bit fields at " + std::to_string(layout.bitCount) + " bits per pixel");
        coloursUsed = *used;
        layout.colourTableAt = InfoHeader::Size + (layout.bitFields ? 3 * InfoHeader::MaskSize : 0);
    } else {
        return damaged("a bitmap header of " + std::to_string(*headerSize) +
                       " bytes is not taken in icons");
    }

    switch (layout.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return damaged(std::to_string(layout.bitCount) + " bits per pixel");
    }
    if (layout.width <= 0 || layout.height <= 0)
        return damaged("an image of " + std::to_string(layout.width) + " x " +
                       std::to_string(layout.height) + " pixels");
    if (layout.width > limits::MaxImageSide || layout.height > limits::MaxImageSide)
        return Failure{Failure::Kind::OverLimit, "an image of " + std::to_string(layout.width) +
                                                     " x " + std::to_string(layout.height) +
                                                     " pixels"};

    if (coloursUsed != 0)
        layout.colourCount = std::min(coloursUsed, limits::MaxPaletteColours);
    else if (layout.bitCount <= 8)
        layout.colourCount = 1u << layout.bitCount;
    return layout;
}

std::uint64_t rowStride(std::int64_t width, int bitCount) {
    return (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) / 32 * 4;
}

// One colour channel of a bit-field pixel, widened to 8 bits by repeating
// its top bits, as GDI does (5 bits v become v << 3 | v >> 2).
struct Field {
    std::uint32_t mask = 0;
    int shift = 0;
    int length = 0;

    explicit Field(std::uint32_t m) : mask(m) {
        if (mask == 0)
            return;
        shift = std::countr_zero(mask);
        length = std::countr_one(mask >> shift);
    }

    std::uint32_t extract(std::uint32_t pixel) const {
        if (length == 0)
            return 0;
        std::uint32_t value = (pixel & mask) >> shift;
        if (length >= 8)
            return value >> (length - 8);
        value <<= 8 - length;
        for (int filled = length; filled < 8; filled += length)
            value |= value >> length;
        return value & 0xFF;
    }
};

struct Fields {
    Field red, green, blue;
};

std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r << 16 | g << 8 | b;
}

// One row of colour pixels, 0xAARRGGBB (the alpha byte only from 32 bpp).
// Indices past the colour table draw black.
void decodeRow(const DibLayout& layout, Bytes row,
               const std::array<std::uint32_t, limits::MaxPaletteColours>& palette,
               const Fields& fields, std::uint32_t* out, int width) {
    const auto count = static_cast<std::size_t>(width);
    const auto lookUp = [&](std::uint32_t index) {
        return index < layout.colourCount ? palette[index] : 0u;
    };
    switch (layout.bitCount) {
    case 1:
        for (std::size_t x = 0; x < count; ++x)
            out[x] = lookUp((row[x / 8] >> (7 - x % 8)) & 1);
        break;
    case 4:
        for (std::size_t x = 0; x < count; ++x)
            out[x] = lookUp((row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF);
        break;
    case 8:
        for (std::size_t x = 0; x < count; ++x)
            out[x] = lookUp(row[x]);
        break;
    case 16:
        for (std::size_t x = 0; x < count; ++x) {
            const std::uint32_t value = row[x * 2] | row[x * 2 + 1] << 8;
            out[x] = rgb(fields.red.extract(value), fields.green.extract(value),
                         fields.blue.extract(value));
        }
        break;
    case 24:
        for (std::size_t x = 0; x < count; ++x)
            out[x] = rgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
        break;
    case 32:
        for (std::size_t x = 0; x < count; ++x) {
            const std::uint32_t value = static_cast<std::uint32_t>(row[x * 4]) |
                                        static_cast<std::uint32_t>(row[x * 4 + 1]) << 8 |
                                        static_cast<std::uint32_t>(row[x * 4 + 2]) << 16 |
                                        static_cast<std::uint32_t>(row[x * 4 + 3]) << 24;
            out[x] = layout.bitFields ? (value & 0xFF000000u) | rgb(fields.red.extract(value),
                                                                    fields.green.extract(value),
                                                                    fields.blue.extract(value))
                                      : value;
        }
        break;
    }
}

} // namespace

ImageHeader dibHeader(ByteView data) {
    const auto layout = readLayout(data);
    if (!layout)
        return {};
    // Both sides are within limits::MaxImageSide here.
    return {static_cast<int>(layout->width), static_cast<int>(layout->height),
            static_cast<std::uint64_t>(layout->width) * static_cast<std::uint64_t>(layout->height),
            layout->bitCount};
}

Result<IconBitmap> decodeDib(ByteView data) {
    const auto layout = readLayout(data);
    if (!layout)
        return layout.failure();

    const std::uint64_t tableBytes = std::uint64_t{layout->colourCount} * layout->colourEntrySize;
    const std::uint64_t colourStride = rowStride(layout->width, layout->bitCount);
    const std::uint64_t maskStride = rowStride(layout->width, 1);
    const auto height = static_cast<std::uint64_t>(layout->height);
    const std::uint64_t colourRowsAt = layout->colourTableAt + tableBytes;
    const auto colourRows = data.sub(colourRowsAt, colourStride * height);
    if (!colourRows)
        return damaged("the colour table or the pixel rows run past the end of the image");
    const auto maskRows = data.sub(colourRowsAt + colourStride * height, maskStride * height);

    std::array<std::uint32_t, limits::MaxPaletteColours> palette{};
    if (layout->bitCount <= 8) {
        for (std::uint32_t i = 0; i < layout->colourCount; ++i) {
            const std::uint64_t at =
                layout->colourTableAt + std::uint64_t{i} * layout->colourEntrySize;
            palette[i] = rgb(*data.u8(at + 2), *data.u8(at + 1), *data.u8(at));
        }
    }
    Fields fields{Field(0x7C00), Field(0x03E0), Field(0x001F)};
    if (layout->bitCount == 32)
        fields = {Field(0xFF0000), Field(0x00FF00), Field(0x0000FF)};
    if (layout->bitFields) {
        const auto red = data.u32(InfoHeader::Size);
        const auto green = data.u32(InfoHeader::Size + InfoHeader::MaskSize);
        const auto blue = data.u32(InfoHeader::Size + 2 * InfoHeader::MaskSize);
        if (!red || !green || !blue)
            return damaged("the bit-field masks run past the end of the image");
        fields = {Field(*red), Field(*green), Field(*blue)};
    }

    IconBitmap bitmap;
    bitmap.width = static_cast<int>(layout->width);
    bitmap.height = static_cast<int>(layout->height);
    const auto pixelCount = static_cast<std::size_t>(layout->width * layout->height);
    bitmap.pixels.resize(pixelCount);

    const Bytes rows = colourRows->bytes();
    for (int y = 0; y < bitmap.height; ++y) {
        // Stored bottom-up.
        const Bytes row = rows.subspan(
            static_cast<std::size_t>(height - 1 - static_cast<std::uint64_t>(y)) * colourStride,
            colourStride);
        std::uint32_t* out = bitmap.pixels.data() +
                             static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.width);
        decodeRow(*layout, row, palette, fields, out, bitmap.width);
    }

    bitmap.hasAlpha = layout->bitCount == 32 && anyAlpha(bitmap.pixels);
    if (maskRows) {
        bitmap.mask.resize(pixelCount);
        const Bytes mask = maskRows->bytes();
        for (int y = 0; y < bitmap.height; ++y) {
            const Bytes row = mask.subspan(
                static_cast<std::size_t>(height - 1 - static_cast<std::uint64_t>(y)) * maskStride,
                maskStride);
            for (int x = 0; x < bitmap.width; ++x) {
                const auto ux = static_cast<std::size_t>(x);
                bitmap.mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.width) +
                            ux] = (row[ux / 8] >> (7 - ux % 8)) & 1;
            }
        }
    }
    return bitmap;
}

} // namespace orvu
