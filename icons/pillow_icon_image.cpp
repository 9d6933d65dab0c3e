#include "icons/pillow_icon_image.h"

#include "icons/limits.h"

#include <algorithm>
#include <array>
#include <vector>

namespace orvu {
namespace {

// The ICONDIR and its one ICONDIRENTRY before the image in the .ico file.
constexpr std::int64_t IcoPrefix = 22;

// The bitmap headers Pillow's BMP reader takes, by their size.
namespace BitmapHeader {
constexpr std::uint32_t Core = 12; // BITMAPCOREHEADER: 16-bit sizes, RGBTRIPLE colours
constexpr std::uint32_t Info = 40; // BITMAPINFOHEADER
constexpr std::uint32_t Os2 = 64;  // OS/2 2.x
constexpr std::uint32_t V4 = 108;  // BITMAPV4HEADER
constexpr std::uint32_t V5 = 124;  // BITMAPV5HEADER
// Where the masks of a bit-field bitmap are in a header that holds them
// (56 bytes or more; a 40-byte one is followed by red, green and blue).
constexpr std::uint32_t WithMasks = 56;
} // namespace BitmapHeader

namespace CoreHeader {
constexpr std::uint64_t Width = 4;
constexpr std::uint64_t Height = 6;
constexpr std::uint64_t BitCount = 10;
} // namespace CoreHeader

namespace InfoHeader {
constexpr std::uint64_t Width = 4;
constexpr std::uint64_t Height = 8;
constexpr std::uint64_t HeightTopByte = 11; // 0xFF: a negative height, a top-down bitmap
constexpr std::uint64_t BitCount = 14;
constexpr std::uint64_t Compression = 16;
constexpr std::uint64_t ColoursUsed = 32;
constexpr std::uint64_t Masks = 40; // red, green, blue, alpha
} // namespace InfoHeader

constexpr std::uint32_t RawCompression = 0;
constexpr std::uint32_t FieldsCompression = 3;
// Pillow's limit on a bitmap's colour table.
constexpr std::uint64_t MostPaletteEntries = 65536;
constexpr std::uint64_t PaletteSize = 256;

// How Pillow unpacks a row of pixels (its "raw mode").
enum class Unpack {
    Index1,  // P;1
    Index4,  // P;4
    Index8,  // P
    Bilevel, // 1: a palette of black and white
    Grey,    // L: a palette that is a grey ramp
    Bgr15,   // BGR;15
    Bgr16,   // BGR;16
    Bgr,     // BGR
    Bgrx,    // BGRX, BGRA: blue, green, red in the first three bytes
    Xbgr,    // XBGR, ABGR: in the last three
    Rgba,    // RGBA
};

int bitsOf(Unpack unpack) {
    switch (unpack) {
    case Unpack::Index1:
    case Unpack::Bilevel:
        return 1;
    case Unpack::Index4:
        return 4;
    case Unpack::Index8:
    case Unpack::Grey:
        return 8;
    case Unpack::Bgr15:
    case Unpack::Bgr16:
        return 16;
    case Unpack::Bgr:
        return 24;
    case Unpack::Bgrx:
    case Unpack::Xbgr:
    case Unpack::Rgba:
        break;
    }
    return 32;
}

Failure unread(const std::string& why) {
    return damaged("Pillow would not read the image: " + why);
}

std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r << 16 | g << 8 | b;
}

// The unpacking of a bit-field bitmap, for the layouts Pillow takes.
std::optional<Unpack> fieldsUnpack(int bitCount, const std::array<std::uint32_t, 4>& masks) {
    using Masks = std::array<std::uint32_t, 4>;
    if (bitCount == 32) {
        if (masks == Masks{0xFF0000, 0xFF00, 0xFF, 0} ||
            masks == Masks{0xFF0000, 0xFF00, 0xFF, 0xFF000000} || masks == Masks{0, 0, 0, 0})
            return Unpack::Bgrx;
        if (masks == Masks{0xFF000000, 0xFF0000, 0xFF00, 0} ||
            masks == Masks{0xFF000000, 0xFF0000, 0xFF00, 0xFF})
            return Unpack::Xbgr;
        if (masks == Masks{0xFF, 0xFF00, 0xFF0000, 0xFF000000})
            return Unpack::Rgba;
    } else if (bitCount == 24 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF) {
        return Unpack::Bgr;
    } else if (bitCount == 16 && masks[1] == 0x7E0 && masks[0] == 0xF800 && masks[2] == 0x1F) {
        return Unpack::Bgr16;
    } else if (bitCount == 16 && masks[1] == 0x3E0 && masks[0] == 0x7C00 && masks[2] == 0x1F) {
        return Unpack::Bgr15;
    }
    return std::nullopt;
}

// A bitmap as Pillow's BMP reader lays it out.
struct Layout {
    std::uint64_t width = 0;
    std::uint64_t height = 0; // the stored height, colour and mask together
    bool topDown = false;
    int bitCount = 0;
    Unpack unpack = Unpack::Bgrx;
    std::vector<std::uint32_t> palette; // for Index*
    std::uint64_t rowsAt = 0;
};

Result<Layout> layoutOf(ByteView data) {
    const auto headerSize = data.u32(0);
    if (!headerSize)
        return unread("no bitmap header");
    if (*headerSize != BitmapHeader::Core && *headerSize != BitmapHeader::Info &&
        *headerSize != BitmapHeader::Os2 && *headerSize != BitmapHeader::V4 &&
        *headerSize != BitmapHeader::V5)
        return unread("a bitmap header of " + std::to_string(*headerSize) + " bytes");
    if (!data.contains(0, *headerSize))
        return unread("the bitmap header runs past the image");

    Layout layout;
    layout.rowsAt = *headerSize;
    std::uint32_t compression = RawCompression;
    std::uint32_t coloursUsed = 0;
    std::uint64_t paletteEntry = 4;
    if (*headerSize == BitmapHeader::Core) {
        layout.width = *data.u16(CoreHeader::Width);
        layout.height = *data.u16(CoreHeader::Height);
        layout.bitCount = *data.u16(CoreHeader::BitCount);
        paletteEntry = 3;
    } else {
        layout.topDown = *data.u8(InfoHeader::HeightTopByte) == 0xFF;
        layout.width = *data.u32(InfoHeader::Width);
        const std::uint64_t height = *data.u32(InfoHeader::Height);
        layout.height = layout.topDown ? (std::uint64_t{1} << 32) - height : height;
        layout.bitCount = *data.u16(InfoHeader::BitCount);
        compression = *data.u32(InfoHeader::Compression);
        coloursUsed = *data.u32(InfoHeader::ColoursUsed);
    }

    std::array<std::uint32_t, 4> masks{};
    if (compression == FieldsCompression) {
        // Read along with the header, before its depth is looked at.
        const std::uint64_t at =
            *headerSize >= BitmapHeader::WithMasks ? InfoHeader::Masks : layout.rowsAt;
        const std::size_t count = *headerSize >= BitmapHeader::WithMasks ? 4 : 3;
        for (std::size_t i = 0; i < count; ++i) {
            const auto mask = data.u32(at + 4 * i);
            if (!mask)
                return unread("the bit-field masks run past the image");
            masks[i] = *mask;
        }
        if (count == 3)
            layout.rowsAt += 12;
    }
    switch (layout.bitCount) {
    case 1:
        layout.unpack = Unpack::Index1;
        break;
    case 4:
        layout.unpack = Unpack::Index4;
        break;
    case 8:
        layout.unpack = Unpack::Index8;
        break;
    case 16:
        layout.unpack = Unpack::Bgr15;
        break;
    case 24:
        layout.unpack = Unpack::Bgr;
        break;
    case 32:
        layout.unpack = Unpack::Bgrx;
        break;
    default:
        return unread(std::to_string(layout.bitCount) + " bits a pixel");
    }
    if (compression == FieldsCompression) {
        const auto unpack = fieldsUnpack(layout.bitCount, masks);
        if (!unpack)
            return unread("a bit-field layout it doesn't take");
        layout.unpack = *unpack;
    } else if (compression != RawCompression) {
        return unread("compression " + std::to_string(compression));
    }

    if (layout.bitCount <= 8) {
        const std::uint64_t colours =
            coloursUsed != 0 ? coloursUsed : std::uint64_t{1} << layout.bitCount;
        if (colours > MostPaletteEntries)
            return unread(std::to_string(colours) + " colours");
        // As much of the colour table as there is.
        const std::uint64_t tableBytes =
            std::min(colours * paletteEntry, data.size() - layout.rowsAt);
        const ByteView table = *data.sub(layout.rowsAt, tableBytes);
        layout.rowsAt += tableBytes;
        // A table of black and white, or one where colour i is grey level i,
        // is dropped: the pixels are taken as those levels.
        bool greyRamp = true;
        for (std::uint64_t i = 0; i < colours && greyRamp; ++i) {
            const std::uint64_t level = colours == 2 ? i * 255 : i & 0xFF;
            const auto entry = table.sub(i * paletteEntry, 3);
            greyRamp = entry && entry->bytes()[0] == level && entry->bytes()[1] == level &&
                       entry->bytes()[2] == level;
        }
        if (greyRamp) {
            layout.unpack = colours == 2 ? Unpack::Bilevel : Unpack::Grey;
        } else {
            const std::uint64_t entries = tableBytes / paletteEntry;
            if (entries > PaletteSize)
                return unread(std::to_string(entries) + " palette entries");
            for (std::uint64_t i = 0; i < entries; ++i) {
                const Bytes entry = table.bytes().subspan(i * paletteEntry, 3);
                layout.palette.push_back(rgb(entry[2], entry[1], entry[0]));
            }
        }
    }
    return layout;
}

// The colour of pixel x of a row as Pillow unpacks it; a palette index
// past the palette is the grey of its number, as Pillow's palettes start out.
std::uint32_t colourAt(const Layout& layout, Bytes row, std::size_t x) {
    const auto indexed = [&](std::uint32_t index) {
        return index < layout.palette.size() ? layout.palette[index] : rgb(index, index, index);
    };
    const auto grey = [](std::uint32_t level) { return rgb(level, level, level); };
    const auto widened = [](std::uint32_t value, std::uint32_t most) { return value * 255 / most; };
    switch (layout.unpack) {
    case Unpack::Index1:
        return indexed((row[x / 8] >> (7 - x % 8)) & 1);
    case Unpack::Index4:
        return indexed((row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF);
    case Unpack::Index8:
        return indexed(row[x]);
    case Unpack::Bilevel:
        return grey(((row[x / 8] >> (7 - x % 8)) & 1) * 255);
    case Unpack::Grey:
        return grey(row[x]);
    case Unpack::Bgr15: {
        const std::uint32_t value = row[2 * x] | row[2 * x + 1] << 8;
        return rgb(widened((value >> 10) & 31, 31), widened((value >> 5) & 31, 31),
                   widened(value & 31, 31));
    }
    case Unpack::Bgr16: {
        const std::uint32_t value = row[2 * x] | row[2 * x + 1] << 8;
        return rgb(widened((value >> 11) & 31, 31), widened((value >> 5) & 63, 63),
                   widened(value & 31, 31));
    }
    case Unpack::Bgr:
        return rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    case Unpack::Bgrx:
        return rgb(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
    case Unpack::Xbgr:
        return rgb(row[4 * x + 3], row[4 * x + 2], row[4 * x + 1]);
    case Unpack::Rgba:
        break;
    }
    return rgb(row[4 * x], row[4 * x + 1], row[4 * x + 2]);
}

Result<GreyPicture> greyOfBitmap(ByteView data, IcoEntryFields entry) {
    const auto layout = layoutOf(data);
    if (!layout)
        return layout.failure();
    // The .ico reader keeps the colour half of the bitmap.
    const std::uint64_t width = layout->width;
    const std::uint64_t height = layout->height / 2;
    if (width == 0 || height == 0)
        return unread("an empty picture");
    if (width > limits::MaxImageSide || height > limits::MaxImageSide)
        return Failure{Failure::Kind::OverLimit, "an image of " + std::to_string(width) + " x " +
                                                     std::to_string(height) + " pixels"};

    const std::uint64_t stride =
        ((width * static_cast<std::uint64_t>(layout->bitCount) + 31) >> 3) & ~std::uint64_t{3};
    const std::uint64_t rowBytes =
        (static_cast<std::uint64_t>(bitsOf(layout->unpack)) * width + 7) / 8;
    if (rowBytes > stride)
        return unread("rows shorter than their pixels");
    // The last row needs no padding.
    if (!data.contains(layout->rowsAt, stride * (height - 1) + rowBytes))
        return unread("the rows run past the image");
    if (entry.bitCount == 32) {
        // The alpha channel: every fourth byte from the rows' start.
        if (!data.contains(layout->rowsAt, width * height * 4))
            return unread("the alpha channel runs past the image");
    } else {
        // The AND mask: read from where the entry's byte count says it ends.
        const std::uint64_t maskStride = (width + 31) / 32 * 4;
        const std::int64_t maskAt = IcoPrefix + std::int64_t{entry.bytesInResource} -
                                    static_cast<std::int64_t>(maskStride * height);
        const std::int64_t fileEnd = IcoPrefix + static_cast<std::int64_t>(data.size());
        const auto needed = static_cast<std::int64_t>(maskStride * (height - 1) + (width + 7) / 8);
        if (maskAt < 0 || maskAt > fileEnd || fileEnd - maskAt < needed)
            return unread("the AND mask runs past the file");
    }

    GreyPicture picture{static_cast<int>(width), static_cast<int>(height),
                        std::vector<std::uint8_t>(width * height)};
    for (std::uint64_t i = 0; i < height; ++i) {
        const Bytes row = data.bytes().subspan(layout->rowsAt + i * stride, rowBytes);
        const std::uint64_t y = layout->topDown ? i : height - 1 - i;
        for (std::uint64_t x = 0; x < width; ++x)
            picture.levels[y * width + x] = greyOf(colourAt(*layout, row, x));
    }
    return picture;
}

// The PNG's colour type and bit depth, from its header chunk.
namespace PngHeaderFields {
constexpr std::uint64_t BitDepth = 24;
constexpr std::uint64_t ColourType = 25;
constexpr std::uint8_t Grey = 0;
} // namespace PngHeaderFields

Result<GreyPicture> greyOfPng(ByteView data, const PngDecoder* png) {
    if (!png)
        return undecodablePng();
    if (const auto header = readPngHeader(data); !header)
        return header.failure();
    // Pillow takes 16-bit grey as 32-bit integers and cuts each at 255.
    if (data.u8(PngHeaderFields::ColourType) == PngHeaderFields::Grey &&
        data.u8(PngHeaderFields::BitDepth) == 16)
        return unread("16-bit grey is not followed");
    const auto decoded = png->decodeCuttingSamples(data);
    if (!decoded)
        return decoded.failure();
    GreyPicture picture{decoded->width, decoded->height, {}};
    picture.levels.reserve(decoded->pixels.size());
    for (const std::uint32_t pixel : decoded->pixels)
        picture.levels.push_back(greyOf(pixel));
    return picture;
}

} // namespace

Result<GreyPicture> greyAsPillowReads(ByteView image, IcoEntryFields entry, const PngDecoder* png) {
    if (isPng(image))
        return greyOfPng(image, png);
    return greyOfBitmap(image, entry);
}

} // namespace orvu
