// Writes the icon files that the comparison with Windows runs on besides the
// real ones: every depth, odd sizes, groups that force a choice, PNG images,
// named groups, languages, 16-bit files, icon files and damaged data.
//
//   orvu_icon_cases FOLDER     writes the files into FOLDER (made if needed)
//   orvu_icon_cases --cursors FOLDER
//                              writes cursors instead: executables' cursor
//                              groups, .cur and .ani files
//   orvu_icon_cases --references FOLDER
//                              writes a Windows drive C: in miniature and
//                              shortcuts to it (writeReferenceTree)

#include "support/icon_builders.h"
#include "support/png_writer.h"
#include "support/shortcut_builders.h"
#include "support/test_files.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace orvu::test {
namespace {

namespace fs = std::filesystem;

// A picture with something in every pixel: two gradients and a diagonal
// stripe, so that a wrong row order, a wrong image or a shifted channel shows.
std::vector<std::uint32_t> picture(int width, int height, std::uint32_t seed) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto r = static_cast<std::uint32_t>((x * 255) / std::max(1, width - 1));
            const auto g = static_cast<std::uint32_t>((y * 255) / std::max(1, height - 1));
            const auto b = static_cast<std::uint32_t>(((x + y) % 8 < 4 ? 0x30 : 0xC0) ^ seed);
            pixels.push_back((r ^ (seed >> 8)) << 16 | (g ^ (seed >> 16)) << 8 | (b & 0xFF));
        }
    }
    return pixels;
}

// The mask of a round icon: set (background) outside a circle, and on a few
// stray pixels inside it.
std::vector<std::uint8_t> roundMask(int width, int height) {
    std::vector<std::uint8_t> mask;
    const double cx = (width - 1) / 2.0;
    const double cy = (height - 1) / 2.0;
    const double radius = std::min(width, height) * 0.42;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = x - cx;
            const double dy = y - cy;
            const bool outside = dx * dx + dy * dy > radius * radius;
            mask.push_back(outside || (x * 7 + y * 3) % 29 == 0 ? 1 : 0);
        }
    }
    return mask;
}

// Alpha from 0 to 255 across the image, with fully clear and fully opaque
// borders; colour even where alpha is 0.
std::vector<std::uint32_t> withAlphaRamp(std::vector<std::uint32_t> pixels, int width) {
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const int x = static_cast<int>(i % static_cast<std::size_t>(width));
        std::uint32_t alpha = static_cast<std::uint32_t>(x * 255 / std::max(1, width - 1));
        if (i / static_cast<std::size_t>(width) == 0)
            alpha = 0;
        pixels[i] = (pixels[i] & 0xFFFFFF) | alpha << 24;
    }
    return pixels;
}

// A DIB of the picture at the given depth. For 1, 4 and 8 bpp the picture's
// pixels are mapped onto a palette that includes near-black colours; for
// 16 bpp onto 5-5-5.
ByteVector pictureDib(int width, int height, int bitCount, std::uint32_t seed, bool mask = true) {
    DibDescription bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bitCount = bitCount;
    const auto rgb = picture(width, height, seed);
    if (bitCount <= 8) {
        const std::size_t colours = std::size_t{1} << bitCount;
        for (std::size_t i = 0; i < colours; ++i) {
            if (i == 1)
                bitmap.palette.push_back(0x040404); // what old icon editors put under the mask
            else if (bitCount == 1)
                bitmap.palette.push_back(i == 0 ? 0x000000 : 0xFFFFFF);
            else
                bitmap.palette.push_back(
                    static_cast<std::uint32_t>((i * 0x3B5D17 + seed) & 0xFFFFFF));
        }
        if (bitCount == 1)
            bitmap.palette = {0x000000, 0xFFFFFF};
        for (std::size_t i = 0; i < rgb.size(); ++i)
            bitmap.pixels.push_back(static_cast<std::uint32_t>((rgb[i] >> 4 ^ i) % colours));
    } else if (bitCount == 16) {
        for (std::uint32_t c : rgb)
            bitmap.pixels.push_back(((c >> 19) & 31) << 10 | ((c >> 11) & 31) << 5 |
                                    ((c >> 3) & 31));
    } else {
        bitmap.pixels = rgb;
    }
    if (mask)
        bitmap.mask = roundMask(width, height);
    return encodeDib(bitmap);
}

ByteVector alphaDib(int width, int height, std::uint32_t seed) {
    DibDescription bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bitCount = 32;
    bitmap.pixels = withAlphaRamp(picture(width, height, seed), width);
    bitmap.mask = roundMask(width, height); // ignored where alpha counts
    return encodeDib(bitmap);
}

ByteVector alphaPng(int width, int height, std::uint32_t seed,
                    PngColours colours = PngColours::Rgba) {
    return encodePng(width, height, withAlphaRamp(picture(width, height, seed), width), colours);
}

// A 16- or 32-bpp DIB turned into BI_BITFIELDS with the given channel masks;
// `pixels` are stored as they are. With `masked`, a round AND mask.
ByteVector bitFieldsDib(int width, int height, int bitCount, std::vector<std::uint32_t> pixels,
                        std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                        bool masked = true) {
    DibDescription bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bitCount = bitCount;
    bitmap.pixels = std::move(pixels);
    if (masked)
        bitmap.mask = roundMask(width, height);
    ByteVector dib = encodeDib(bitmap);
    putU32(dib, 16, 3); // BI_BITFIELDS
    ByteVector masks(12);
    putU32(masks, 0, red);
    putU32(masks, 4, green);
    putU32(masks, 8, blue);
    dib.insert(dib.begin() + 40, masks.begin(), masks.end());
    return dib;
}

// A DIB with the 12-byte BITMAPCOREHEADER and an RGBTRIPLE palette.
ByteVector coreHeaderDib(int size, int bitCount, std::uint32_t seed) {
    const ByteVector info = pictureDib(size, size, bitCount, seed);
    const std::size_t colours = bitCount <= 8 ? std::size_t{1} << bitCount : 0;
    ByteVector core(12);
    putU32(core, 0, 12);
    putU16(core, 4, static_cast<std::uint16_t>(size));
    putU16(core, 6, static_cast<std::uint16_t>(size * 2));
    putU16(core, 8, 1);
    putU16(core, 10, static_cast<std::uint16_t>(bitCount));
    for (std::size_t i = 0; i < colours; ++i)
        core.insert(core.end(), info.begin() + 40 + static_cast<std::ptrdiff_t>(i * 4),
                    info.begin() + 40 + static_cast<std::ptrdiff_t>(i * 4 + 3));
    core.insert(core.end(), info.begin() + 40 + static_cast<std::ptrdiff_t>(colours * 4),
                info.end());
    return core;
}

// A DIB whose BITMAPINFOHEADER is widened to `headerSize` bytes (108 for
// BITMAPV4HEADER, 124 for BITMAPV5HEADER), the extra fields zero except the
// bit-field masks of V4 and V5 headers, which repeat what follows a plain header.
ByteVector widenedHeader(ByteVector dib, std::uint32_t headerSize) {
    putU32(dib, 0, headerSize);
    ByteVector extra(headerSize - 40, 0);
    const bool bitFields = ByteView(dib).u32(16) == 3u;
    if (bitFields && headerSize >= 108) {
        // The masks live inside the V4/V5 header instead of after a plain one.
        std::copy(dib.begin() + 40, dib.begin() + 52, extra.begin());
        dib.erase(dib.begin() + 40, dib.begin() + 52);
    }
    dib.insert(dib.begin() + 40, extra.begin(), extra.end());
    return dib;
}

StoredImage image(int width, int height, int bitCount, ByteVector bytes) {
    return {groupEntry(width, height, bitCount, 0), std::move(bytes)};
}

StoredImage dibImage(int size, int bitCount, std::uint32_t seed) {
    return image(size, size, bitCount, pictureDib(size, size, bitCount, seed));
}

GroupResource group(ResourceName name, std::vector<StoredImage> images) {
    GroupResource result;
    result.name = std::move(name);
    result.images = std::move(images);
    return result;
}

GroupResource group(std::vector<StoredImage> images) {
    return group(std::uint16_t{1}, std::move(images));
}

class CaseWriter {
public:
    explicit CaseWriter(fs::path folder) : m_folder(std::move(folder)) {}

    void pe(const std::string& name, const std::vector<GroupResource>& groups,
            const PeOptions& options = {}) {
        write(name, buildPe(groups, options));
    }
    void write(const std::string& name, const ByteVector& bytes) {
        writeFile(m_folder / name, bytes);
        ++m_written;
    }
    int written() const { return m_written; }

private:
    fs::path m_folder;
    int m_written = 0;
};

void writeDepths(CaseWriter& out) {
    for (int bits : {1, 4, 8, 16, 24, 32})
        out.pe("depth-" + std::to_string(bits) + ".exe", {group({dibImage(32, bits, 0x15)})});
    for (int bits : {4, 8, 24})
        out.pe("depth-" + std::to_string(bits) + "-no-mask-rows.exe",
               {group({image(32, 32, bits, pictureDib(32, 32, bits, 0x21, false))})});
    out.pe("depth-32-alpha.exe", {group({image(32, 32, 32, alphaDib(32, 32, 0x42))})});
    // An all-zero alpha channel is ignored: the mask decides.
    out.pe("depth-32-zero-alpha.exe", {group({image(32, 32, 32, pictureDib(32, 32, 32, 0x63))})});

    // Monochrome icons: black and white, reversed, and with a coloured palette.
    DibDescription mono;
    mono.width = 32;
    mono.height = 32;
    mono.bitCount = 1;
    mono.palette = {0x000000, 0xFFFFFF};
    for (int i = 0; i < 32 * 32; ++i)
        mono.pixels.push_back(static_cast<std::uint32_t>((i / 32 + i % 32) % 3 == 0));
    mono.mask = roundMask(32, 32);
    out.pe("mono-black-white.exe", {group({image(32, 32, 1, encodeDib(mono))})});
    mono.palette = {0xFFFFFF, 0x000000};
    out.pe("mono-reversed-palette.exe", {group({image(32, 32, 1, encodeDib(mono))})});
    mono.palette = {0xC02040, 0x2040C0};
    out.pe("mono-coloured-palette.exe", {group({image(32, 32, 1, encodeDib(mono))})});

    // Palettes shorter than the depth allows, and indices past them.
    DibDescription shortPalette;
    shortPalette.width = 32;
    shortPalette.height = 32;
    shortPalette.bitCount = 8;
    for (std::uint32_t i = 0; i < 16; ++i)
        shortPalette.palette.push_back(i * 0x0F0F0F);
    for (int i = 0; i < 32 * 32; ++i)
        shortPalette.pixels.push_back(static_cast<std::uint32_t>(i % 24));
    shortPalette.mask = roundMask(32, 32);
    out.pe("depth-8-short-palette.exe", {group({image(32, 32, 8, encodeDib(shortPalette))})});

    // 16 bpp as 5-6-5 through bit fields; 32 bpp with red and blue swapped;
    // each with a round mask and without one.
    std::vector<std::uint32_t> rgb565;
    for (std::uint32_t c : picture(32, 32, 0x77))
        rgb565.push_back(((c >> 19) & 31) << 11 | ((c >> 10) & 63) << 5 | ((c >> 3) & 31));
    std::vector<std::uint32_t> swapped;
    for (std::uint32_t c : picture(32, 32, 0x99))
        swapped.push_back((c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF));
    for (const bool masked : {true, false}) {
        const std::string suffix = masked ? ".exe" : "-no-mask.exe";
        out.pe("depth-16-bitfields-565" + suffix,
               {group({image(32, 32, 16,
                             bitFieldsDib(32, 32, 16, rgb565, 0xF800, 0x07E0, 0x001F, masked))})});
        out.pe("depth-32-bitfields-swapped" + suffix,
               {group({image(
                   32, 32, 32,
                   bitFieldsDib(32, 32, 32, swapped, 0x0000FF, 0x00FF00, 0xFF0000, masked))})});
        out.pe("depth-32-bitfields-standard" + suffix,
               {group({image(32, 32, 32,
                             bitFieldsDib(32, 32, 32, picture(32, 32, 0x5A), 0xFF0000, 0x00FF00,
                                          0x0000FF, masked))})});
    }

    out.pe("core-header-8.exe", {group({image(32, 32, 8, coreHeaderDib(32, 8, 0x31))})});
    out.pe("core-header-24.exe", {group({image(32, 32, 24, coreHeaderDib(32, 24, 0x32))})});
}

void writeSizes(CaseWriter& out) {
    out.pe("size-24.exe", {group({dibImage(24, 32, 0x11)})});
    out.pe("size-20x40.exe", {group({image(20, 40, 32, alphaDib(20, 40, 0x12))})});
    out.pe("size-17.exe", {group({dibImage(17, 8, 0x13)})});
    out.pe("only-16.exe", {group({dibImage(16, 24, 0x14), dibImage(16, 4, 0x15)})});
    out.pe("only-48.exe",
           {group({dibImage(48, 8, 0x16), image(48, 48, 32, alphaDib(48, 48, 0x17))})});
    out.pe("only-64-alpha.exe", {group({image(64, 64, 32, alphaDib(64, 64, 0x18))})});
    out.pe("only-256.exe", {group({image(0, 0, 32, alphaDib(256, 256, 0x19))})});
    // 16 and 48 are equally far from 32: the depth decides, then the order.
    out.pe("tie-16-48-depth.exe", {group({dibImage(16, 8, 0x1A), dibImage(48, 32, 0x1B)})});
    out.pe("tie-48-16-order.exe", {group({dibImage(48, 8, 0x1C), dibImage(16, 8, 0x1D)})});
    out.pe("depths-at-32.exe",
           {group({dibImage(32, 4, 0x20), dibImage(32, 8, 0x21), dibImage(32, 24, 0x22),
                   dibImage(16, 32, 0x23), image(32, 32, 32, alphaDib(32, 32, 0x24))})});
    out.pe("depths-at-32-no-32bpp.exe",
           {group({dibImage(32, 4, 0x25), dibImage(32, 24, 0x26), dibImage(32, 8, 0x27)})});
    out.pe("usual-set.exe",
           {group({dibImage(16, 4, 0x28), dibImage(32, 4, 0x29), dibImage(48, 8, 0x2A),
                   dibImage(16, 32, 0x2B), image(32, 32, 32, alphaDib(32, 32, 0x2C)),
                   image(48, 48, 32, alphaDib(48, 48, 0x2D))})});
    // The directory says 32 x 32, the image is 16 x 16.
    out.pe("entry-larger-than-image.exe", {group({image(32, 32, 8, pictureDib(16, 16, 8, 0x2E))})});
    // The directory says 16 x 16, the image is 32 x 32.
    out.pe("entry-smaller-than-image.exe",
           {group({image(16, 16, 24, pictureDib(32, 32, 24, 0x2F))})});
    // A bit count of 0 in the directory.
    out.pe("entry-without-bit-count.exe",
           {group({image(32, 32, 0, alphaDib(32, 32, 0x30)), dibImage(32, 8, 0x31)})});
}

void writePng(CaseWriter& out) {
    out.pe("png-only-32.exe", {group({image(32, 32, 32, alphaPng(32, 32, 0x41))})});
    out.pe("png-only-48.exe", {group({image(48, 48, 32, alphaPng(48, 48, 0x42))})});
    out.pe("png-only-16.exe", {group({image(16, 16, 32, alphaPng(16, 16, 0x43))})});
    out.pe("png-rgb-32.exe", {group({image(32, 32, 24, alphaPng(32, 32, 0x44, PngColours::Rgb))})});
    out.pe("png-256-and-dib-32.exe", {group({image(0, 0, 32, alphaPng(256, 256, 0x45)),
                                             dibImage(32, 8, 0x46), dibImage(16, 8, 0x47)})});
    out.pe("png-32-and-dib-32.exe",
           {group({image(32, 32, 32, alphaPng(32, 32, 0x48)), dibImage(32, 8, 0x49)})});
    // Every pixel fully transparent, over colours that are not the background.
    std::vector<std::uint32_t> clear = picture(32, 32, 0x4B);
    for (std::uint32_t& pixel : clear)
        pixel &= 0xFFFFFF;
    out.pe("png-fully-transparent.exe", {group({image(32, 32, 32, encodePng(32, 32, clear))})});
    ByteVector damaged = alphaPng(32, 32, 0x4A);
    damaged.resize(damaged.size() / 2);
    out.pe("png-truncated.exe", {group({image(32, 32, 32, damaged)})});
}

void writeGroups(CaseWriter& out) {
    out.pe("named-groups.exe",
           {group(u"ZETA", {dibImage(32, 24, 0x51)}),
            group(std::uint16_t{7}, {dibImage(32, 8, 0x52)}),
            group(u"ALPHA", {dibImage(32, 4, 0x53)}),
            group(std::uint16_t{2}, {image(32, 32, 32, alphaDib(32, 32, 0x54))})});
    GroupResource languages = group({dibImage(32, 24, 0x55)});
    languages.languages = {0x0409, 0x0407, 0x0804};
    GroupResource second = group(std::uint16_t{3}, {dibImage(32, 8, 0x56)});
    second.languages = {0x0804, 0x0409};
    out.pe("languages.exe", {languages, second});
    std::vector<GroupResource> many;
    for (std::uint16_t i = 1; i <= 12; ++i)
        many.push_back(group(static_cast<std::uint16_t>(i * 10),
                             {dibImage(16, 8, i), dibImage(32, i % 2 ? 8 : 24, 0x100u * i)}));
    out.pe("many-groups.exe", many);
    PeOptions pe32;
    pe32.pe32Plus = false;
    out.pe("pe32.exe",
           {group({dibImage(32, 8, 0x57)}), group(std::uint16_t{2}, {dibImage(48, 32, 0x58)})},
           pe32);
    PeOptions padded;
    padded.rootOffsetInSection = 0x120;
    out.pe("resources-mid-section.exe", {group({dibImage(32, 24, 0x59)})}, padded);

    out.write("ne-16bit.exe", buildNe({group({dibImage(32, 4, 0x5A), dibImage(16, 4, 0x5B)}),
                                       group(std::uint16_t{2}, {dibImage(32, 8, 0x5C)})}));
    out.write("ne-16bit-shift-9.exe", buildNe({group({dibImage(32, 4, 0x5D)})}, 9));
}

void writeIconFiles(CaseWriter& out) {
    out.write("several.ico",
              buildIconFile({dibImage(16, 4, 0x61), dibImage(32, 4, 0x62), dibImage(32, 8, 0x63),
                             image(32, 32, 32, alphaDib(32, 32, 0x64)),
                             image(48, 48, 32, alphaDib(48, 48, 0x65))}));
    out.write("png.ico", buildIconFile({image(32, 32, 32, alphaPng(32, 32, 0x66))}));
    out.write("png-256.ico", buildIconFile({image(0, 0, 32, alphaPng(256, 256, 0x67)),
                                            image(48, 48, 32, alphaDib(48, 48, 0x68))}));
    out.write("icon-without-extension", buildIconFile({dibImage(32, 24, 0x69)}));
    ByteVector cursor = buildIconFile({dibImage(32, 24, 0x6A)});
    putU16(cursor, 2, 2); // a cursor file
    out.write("cursor.cur", cursor);
    ByteVector empty = buildIconFile({dibImage(32, 24, 0x6B)});
    putU16(empty, 4, 0);
    out.write("no-images.ico", empty);
}

void writeHeaders(CaseWriter& out) {
    out.pe("header-v4-32-alpha.exe",
           {group({image(32, 32, 32, widenedHeader(alphaDib(32, 32, 0x81), 108))})});
    out.pe("header-v5-32-alpha.exe",
           {group({image(32, 32, 32, widenedHeader(alphaDib(32, 32, 0x82), 124))})});
    out.pe("header-v5-8.exe",
           {group({image(32, 32, 8, widenedHeader(pictureDib(32, 32, 8, 0x83), 124))})});
    out.pe("header-v5-16-bitfields-no-mask.exe",
           {group({image(32, 32, 16,
                         widenedHeader(bitFieldsDib(32, 32, 16, picture(32, 32, 0x84), 0x7C00,
                                                    0x03E0, 0x001F, false),
                                       124))})});
    out.pe("header-size-64.exe",
           {group({image(32, 32, 24, widenedHeader(pictureDib(32, 32, 24, 0x85), 64))})});
    // Rows stored from the top (a negative height).
    ByteVector topDown = pictureDib(32, 32, 24, 0x86);
    putU32(topDown, 8, static_cast<std::uint32_t>(-64));
    out.pe("top-down.exe", {group({image(32, 32, 24, topDown)})});
    // Two colours in a 4-bpp palette.
    DibDescription twoColours;
    twoColours.width = 32;
    twoColours.height = 32;
    twoColours.bitCount = 4;
    twoColours.palette = {0x2080C0, 0xC08020};
    for (int i = 0; i < 32 * 32; ++i)
        twoColours.pixels.push_back(static_cast<std::uint32_t>(i % 3 == 0));
    twoColours.mask = roundMask(32, 32);
    out.pe("depth-4-two-colours.exe", {group({image(32, 32, 4, encodeDib(twoColours))})});
    // 32 bpp, every pixel opaque, and a mask that would hide some: alpha decides.
    DibDescription opaque;
    opaque.width = 32;
    opaque.height = 32;
    opaque.bitCount = 32;
    for (std::uint32_t c : picture(32, 32, 0x87))
        opaque.pixels.push_back(0xFF000000u | c);
    opaque.mask = roundMask(32, 32);
    out.pe("depth-32-opaque-alpha-with-mask.exe", {group({image(32, 32, 32, encodeDib(opaque))})});
}

void writeDirectoryLies(CaseWriter& out) {
    // The directory's depths, not the images', decide: the entry that claims
    // 32 bpp holds a 4-bpp image and is shown.
    out.pe("entry-depth-lies.exe", {group({image(32, 32, 8, alphaDib(32, 32, 0x91)),
                                           image(32, 32, 32, pictureDib(32, 32, 4, 0x92))})});
    // A width of 0 with a height of 32 is 0 wide, not 256.
    out.pe("entry-width-zero.exe", {group({image(0, 32, 8, pictureDib(32, 32, 8, 0x93)),
                                           image(16, 16, 32, alphaDib(16, 16, 0x94))})});
    // An icon file whose only image runs past the end of the file.
    ByteVector pastEnd = buildIconFile({dibImage(32, 24, 0x95)});
    pastEnd.resize(pastEnd.size() - 100);
    out.write("image-past-end.ico", pastEnd);
    // An icon file whose second image's offset points past the end.
    ByteVector badOffset = buildIconFile({dibImage(16, 24, 0x96), dibImage(32, 24, 0x97)});
    putU32(badOffset, 6 + 16 + 12, static_cast<std::uint32_t>(badOffset.size() + 10));
    out.write("offset-past-end.ico", badOffset);
}

void writeDamage(CaseWriter& out) {
    // The AND mask cut short: missing altogether, or half of it.
    ByteVector noMask = pictureDib(32, 32, 8, 0x71);
    noMask.resize(noMask.size() - 32 * 4);
    out.pe("mask-missing.exe", {group({image(32, 32, 8, noMask)})});
    ByteVector halfMask = pictureDib(32, 32, 24, 0x72);
    halfMask.resize(halfMask.size() - 16 * 4);
    out.pe("mask-half.exe", {group({image(32, 32, 24, halfMask)})});
    ByteVector oneByteShort = image(32, 32, 32, alphaDib(32, 32, 0x73)).bytes;
    oneByteShort.pop_back();
    out.pe("mask-one-byte-short-alpha.exe", {group({image(32, 32, 32, oneByteShort)})});
    ByteVector noColour = pictureDib(32, 32, 24, 0x74);
    noColour.resize(40 + 32 * 96 / 2);
    out.pe("colour-rows-cut.exe", {group({image(32, 32, 24, noColour)})});
    // The height stored once instead of twice.
    ByteVector single = pictureDib(32, 32, 24, 0x75);
    putU32(single, 8, 32);
    out.pe("height-not-doubled.exe", {group({image(32, 32, 24, single)})});
    // More colours claimed than a palette may have.
    ByteVector manyColours = pictureDib(32, 32, 8, 0x76);
    putU32(manyColours, 32, 300);
    out.pe("colours-used-300.exe", {group({image(32, 32, 8, manyColours)})});

    // Groups: reserved field set, type 0, no entries, an image id that doesn't exist,
    // more entries claimed than stored.
    GroupResource good = group({dibImage(32, 24, 0x77)});
    GroupResource reserved = group(std::uint16_t{2}, {dibImage(32, 24, 0x78)});
    reserved.rawGroup = ByteVector{1, 0, 1, 0, 0, 0};
    GroupResource typeZero = group(std::uint16_t{3}, {dibImage(32, 24, 0x79)});
    typeZero.rawGroup = ByteVector{0, 0, 0, 0, 1, 0, 32, 32, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 3, 0};
    GroupResource noEntries = group(std::uint16_t{4}, {dibImage(32, 24, 0x7A)});
    noEntries.rawGroup = ByteVector{0, 0, 1, 0, 0, 0};
    GroupResource missing = group(std::uint16_t{5}, {dibImage(32, 24, 0x7B)});
    missing.rawGroup = ByteVector{0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 99, 0};
    GroupResource overCounted = group(std::uint16_t{6}, {dibImage(32, 8, 0x7C)});
    overCounted.rawGroup = ByteVector{0, 0, 1, 0, 5, 0, 32, 32, 0, 0, 1, 0, 8, 0, 0, 0, 0, 0, 6, 0};
    GroupResource cursorType = group(std::uint16_t{7}, {dibImage(32, 24, 0x7D)});
    cursorType.rawGroup = ByteVector{0, 0, 2, 0, 1, 0, 32, 32, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 7, 0};
    out.pe("damaged-groups.exe",
           {good, reserved, typeZero, noEntries, missing, overCounted, cursorType});

    // Only groups, no RT_ICON directory at all.
    ByteVector groupsOnly = buildPe({group({dibImage(32, 24, 0x7E)})});
    const PeLayout layout = peLayout({group({dibImage(32, 24, 0x7E)})});
    putU32(groupsOnly, layout.resourceRoot + 16, 1); // the RT_ICON entry now names type 1
    out.write("groups-without-images.exe", groupsOnly);
}

// Cursors: written apart (--cursors), for the comparison of cursors.

StoredImage withHotspot(StoredImage image, int x, int y) {
    image.entry.hotspot = Hotspot{x, y};
    return image;
}

StoredImage cursorDib(int size, int bitCount, std::uint32_t seed, int x, int y) {
    return withHotspot(dibImage(size, bitCount, seed), x, y);
}

GroupResource cursorGroup(ResourceName name, std::vector<StoredImage> images) {
    GroupResource result = group(std::move(name), std::move(images));
    result.type = GroupType::Cursor;
    return result;
}

GroupResource animatedGroup(ResourceName name, GroupType type, ByteVector animation) {
    GroupResource result;
    result.name = std::move(name);
    result.type = type;
    result.animation = std::move(animation);
    return result;
}

void writeCursorGroups(CaseWriter& out) {
    GroupResource missingImage = cursorGroup(std::uint16_t{12}, {cursorDib(32, 24, 0xAC, 4, 4)});
    GroupEntry elsewhere = missingImage.images[0].entry;
    elsewhere.location = 99;
    missingImage.rawGroup = cursorDirectory({elsewhere});
    out.pe("cursor-groups.exe",
           {// Every depth; the monochrome one inverts the background under its mask.
            cursorGroup(std::uint16_t{1}, {cursorDib(32, 1, 0xA1, 3, 5)}),
            cursorGroup(std::uint16_t{2}, {cursorDib(32, 4, 0xA2, 31, 31)}),
            cursorGroup(std::uint16_t{3}, {cursorDib(32, 8, 0xA3, 0, 0)}),
            cursorGroup(std::uint16_t{4},
                        {withHotspot(image(32, 32, 32, alphaDib(32, 32, 0xA4)), 16, 2)}),
            // The largest image that fits wins.
            cursorGroup(std::uint16_t{5},
                        {cursorDib(16, 24, 0xA5, 1, 1), cursorDib(32, 24, 0xA6, 10, 11),
                         cursorDib(48, 24, 0xA7, 40, 40)}),
            // None fits: the smallest, shrunk, its hotspot scaled with it.
            cursorGroup(std::uint16_t{6},
                        {cursorDib(64, 8, 0xA8, 63, 63), cursorDib(48, 8, 0xA9, 47, 1)}),
            // Enlarged, the hotspot too.
            cursorGroup(std::uint16_t{7}, {cursorDib(16, 4, 0xAA, 15, 7)}),
            // Of equal sizes the deepest, and the first of equal depths.
            cursorGroup(std::uint16_t{8},
                        {cursorDib(32, 4, 0xAB, 1, 2), cursorDib(32, 24, 0xAD, 3, 4),
                         cursorDib(32, 8, 0xAE, 5, 6), cursorDib(32, 24, 0x3C, 7, 8)}),
            // A hotspot outside the image, one negative.
            cursorGroup(std::uint16_t{9}, {cursorDib(32, 24, 0xB0, 40, -3)}),
            // A PNG image after its hotspot.
            cursorGroup(std::uint16_t{10},
                        {withHotspot(image(32, 32, 32, alphaPng(32, 32, 0xB1)), 8, 9)}),
            // A named group comes before the numbered ones.
            cursorGroup(std::u16string(u"POINTER"), {cursorDib(32, 8, 0xB2, 12, 13)}),
            missingImage});
    // Cursors beside icons.
    out.pe("cursors-and-icons.exe",
           {group({dibImage(32, 8, 0xB3)}),
            cursorGroup(std::uint16_t{3}, {cursorDib(32, 8, 0xB4, 2, 30)}),
            cursorGroup(std::uint16_t{1}, {cursorDib(32, 4, 0xB5, 30, 2)})});
}

void writeCursorFiles(CaseWriter& out) {
    out.write("monochrome.cur", buildCursorFile({cursorDib(32, 1, 0xC1, 0, 0)}));
    out.write("sizes.cur",
              buildCursorFile({cursorDib(16, 24, 0xC2, 1, 1), cursorDib(48, 24, 0xC3, 40, 40),
                               cursorDib(32, 24, 0xC4, 20, 21)}));
    // The images' own depths decide between equal sizes.
    out.write("depths.cur",
              buildCursorFile({cursorDib(32, 4, 0xC5, 1, 2),
                               withHotspot(image(32, 32, 32, alphaDib(32, 32, 0xC6)), 3, 4),
                               cursorDib(32, 8, 0xC7, 5, 6)}));
    out.write("large.cur", buildCursorFile({cursorDib(64, 24, 0xC8, 63, 31)}));
    out.write("small.cur", buildCursorFile({cursorDib(16, 8, 0xC9, 15, 15)}));
    out.write("png.cur",
              buildCursorFile({withHotspot(image(32, 32, 32, alphaPng(32, 32, 0xCA)), 31, 0)}));
    out.write("hotspot-outside.cur", buildCursorFile({cursorDib(32, 24, 0xCB, 40, 50)}));
}

ByteVector cursorFrame(int size, std::uint32_t seed, int x, int y) {
    return buildCursorFile({cursorDib(size, 24, seed, x, y)});
}

void writeAnimations(CaseWriter& out) {
    const ByteVector red = cursorFrame(32, 0xD1, 1, 2);
    const ByteVector blue = cursorFrame(32, 0xD2, 30, 29);
    out.write("two-frames.ani", buildAnimation({.frames = {red, blue}}));
    // The sequence starts with the second frame.
    out.write("sequence.ani",
              buildAnimation({.frames = {red, blue}, .sequence = {1, 0, 1}, .rates = {5, 10, 15}}));
    // A frame that is an icon file, read as a cursor file whatever its type says.
    out.write("icon-frames.ani",
              buildAnimation({.frames = {buildIconFile({dibImage(32, 8, 0xD3)}), red}}));
    // Frames of several sizes, chosen by the icon rule.
    out.write("frame-sizes.ani",
              buildAnimation({.frames = {buildCursorFile({cursorDib(16, 24, 0xD4, 3, 3),
                                                          cursorDib(48, 24, 0xD5, 40, 8),
                                                          cursorDib(32, 24, 0xD6, 9, 10)})}}));
    // The header's size: each frame is loaded at it, then drawn at the size asked for.
    out.write("header-size.ani", buildAnimation({.frames = {red}, .width = 16, .height = 16}));
    // Not here: an anih claiming more frames than the list holds, which Wine
    // reads past and crashes on (the reader's tests hold it).
    // In an executable.
    out.pe("animated-resources.exe",
           {animatedGroup(std::uint16_t{5}, GroupType::AnimatedIcon,
                          buildAnimation({.frames = {buildIconFile({dibImage(32, 24, 0xD7)})}})),
            animatedGroup(std::uint16_t{9}, GroupType::AnimatedCursor,
                          buildAnimation({.frames = {blue, red}})),
            cursorGroup(std::uint16_t{1}, {cursorDib(32, 24, 0xD8, 6, 7)})});
}

} // namespace
} // namespace orvu::test

int main(int argc, char** argv) {
    const bool cursors = argc == 3 && std::string(argv[1]) == "--cursors";
    const bool references = argc == 3 && std::string(argv[1]) == "--references";
    if (argc != 2 && !cursors && !references) {
        std::fprintf(stderr, "usage: orvu_icon_cases [--cursors | --references] FOLDER\n");
        return 2;
    }
    try {
        if (references) {
            orvu::test::writeReferenceTree(argv[2]);
            return 0;
        }
        const std::filesystem::path folder = argv[argc - 1];
        std::filesystem::create_directories(folder);
        orvu::test::CaseWriter out(folder);
        if (cursors) {
            orvu::test::writeCursorGroups(out);
            orvu::test::writeCursorFiles(out);
            orvu::test::writeAnimations(out);
        } else {
            orvu::test::writeDepths(out);
            orvu::test::writeSizes(out);
            orvu::test::writePng(out);
            orvu::test::writeGroups(out);
            orvu::test::writeIconFiles(out);
            orvu::test::writeHeaders(out);
            orvu::test::writeDirectoryLies(out);
            orvu::test::writeDamage(out);
        }
        std::printf("%d files in %s\n", out.written(), folder.string().c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvu_icon_cases: %s\n", error.what());
        return 1;
    }
    return 0;
}
