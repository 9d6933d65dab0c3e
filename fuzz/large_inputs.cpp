// Writes files that claim or hold the most the reader accepts, for peak
// memory measurements of `orvu-icons-cli cells` (see fuzz/README.md):
//
//   orvu_fuzz_large_inputs OUT
//
// many-icons.exe          65 535 icons, each a real 32 x 32 image
// largest-group.exe       one icon whose group has 65 535 entries
// huge-dib.ico            a 1 024 x 1 024, 32-bpp DIB (the largest side taken)
// huge-1bpp.ico           a 1 024 x 1 024, 1-bpp DIB: a small file, a large bitmap
// huge-png.ico            a 1 024 x 1 024 RGBA PNG, stored uncompressed
// png-bomb.ico            a 1 024 x 1 024 RGBA PNG that inflates from a few kilobytes
// png16-bomb.ico          the same at 16 bits a sample, which Qt decodes at 8 bytes a pixel
// png-claims-65535.ico    a PNG whose header claims 65 535 x 65 535
// dib-claims-huge.ico     a DIB header claiming 2^31 - 1 a side
// image-past-limit.ico    an image of more bytes than one image may have
// many-images.ico         65 535 entries that all name one 1 024 x 1 024 image
// ne-many-icons.exe       an NE file with 65 535 groups and 65 535 icons
// many-png-bombs.exe      65 535 icons that all name png-bomb.ico's image
// many-huge-1bpp.exe      65 535 icons that all name huge-1bpp.ico's image
// many-tiny-pngs.exe      65 535 icons that all name one 1 x 1 PNG

#include "icons/byte_writer.h"
#include "support/icon_builders.h"
#include "support/png_writer.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using orvu::appendU16;
using orvu::appendU32;
using orvu::test::ByteVector;
using orvu::test::putU16;
using orvu::test::putU32;

void save(const fs::path& path, const ByteVector& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    std::printf("%-24s %10zu bytes\n", path.filename().c_str(), bytes.size());
}

ByteVector rgbaPng(int side, bool zeros) {
    orvu::test::PngFormat format;
    format.width = static_cast<std::uint32_t>(side);
    format.height = static_cast<std::uint32_t>(side);
    if (zeros)
        return orvu::test::zeroPng(format);
    ByteVector rows;
    rows.reserve(orvu::test::pngRawLength(format));
    for (int y = 0; y < side; ++y) {
        rows.push_back(0);
        for (int x = 0; x < side; ++x)
            rows.insert(rows.end(),
                        {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0x80, 0xFF});
    }
    return orvu::test::encodePng(format, rows);
}

// An icon file of one image, entered `entries` times.
ByteVector iconFile(const ByteVector& image, int side, int bitCount, std::uint16_t entries = 1) {
    ByteVector bytes;
    appendU16(bytes, 0);
    appendU16(bytes, 1);
    appendU16(bytes, entries);
    const std::uint32_t offset = 6 + 16u * entries;
    for (std::uint32_t i = 0; i < entries; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(side % 256));
        bytes.push_back(static_cast<std::uint8_t>(side % 256));
        bytes.insert(bytes.end(), {0, 0});
        appendU16(bytes, 1);
        appendU16(bytes, static_cast<std::uint16_t>(bitCount));
        appendU32(bytes, static_cast<std::uint32_t>(image.size()));
        appendU32(bytes, offset);
    }
    bytes.insert(bytes.end(), image.begin(), image.end());
    return bytes;
}

ByteVector dibHeader(std::int32_t width, std::int32_t height, int bitCount) {
    ByteVector bytes;
    appendU32(bytes, 40);
    appendU32(bytes, static_cast<std::uint32_t>(width));
    appendU32(bytes, static_cast<std::uint32_t>(height));
    appendU16(bytes, 1);
    appendU16(bytes, static_cast<std::uint16_t>(bitCount));
    bytes.resize(40, 0);
    return bytes;
}

// A DIB of the given side and depth, every byte of its rows `fill`.
ByteVector dib(int side, int bitCount) {
    ByteVector bytes = dibHeader(side, 2 * side, bitCount);
    if (bitCount <= 8) {
        for (int i = 0; i < (1 << bitCount); ++i)
            appendU32(bytes, i % 2 ? 0x00FF8040u : 0);
    }
    const std::size_t colourStride = (static_cast<std::size_t>(side) * bitCount + 31) / 32 * 4;
    const std::size_t maskStride = (static_cast<std::size_t>(side) + 31) / 32 * 4;
    bytes.resize(bytes.size() + colourStride * side, 0x55);
    bytes.resize(bytes.size() + maskStride * side, 0x00);
    return bytes;
}

// A PE whose RT_GROUP_ICON directory has `groups` entries that all lead to
// one group of `entries` entries, each naming RT_ICON 1: by default a
// 32 x 32 image.
ByteVector peSharingOneGroup(std::uint32_t groups, std::uint32_t entries,
                             const ByteVector& image = orvu::test::solidDib(32, 32, 0x2080C0)) {
    constexpr std::uint32_t SectionRva = 0x1000;
    constexpr std::uint32_t SectionFile = 0x400;
    // The tree: root (2 entries), RT_ICON type dir (1), RT_GROUP_ICON type
    // dir (groups), one language dir for the image and one for the group,
    // two data entries, then the group directory and the image.
    ByteVector tree;
    const auto directory = [&](std::uint16_t numbered) {
        const std::uint32_t at = static_cast<std::uint32_t>(tree.size());
        tree.resize(tree.size() + 16 + 8u * numbered, 0);
        putU16(tree, at + 14, numbered);
        return at;
    };
    const auto entry = [&](std::uint32_t dir, std::uint32_t index, std::uint32_t name,
                           std::uint32_t target) {
        putU32(tree, dir + 16 + 8 * index, name);
        putU32(tree, dir + 16 + 8 * index + 4, target);
    };
    const std::uint32_t root = directory(2);
    const std::uint32_t iconType = directory(1);
    const std::uint32_t groupType = static_cast<std::uint32_t>(tree.size());
    tree.resize(tree.size() + 16 + 8ull * groups, 0);
    putU16(tree, groupType + 14, static_cast<std::uint16_t>(std::min(groups, 0xFFFFu)));
    if (groups > 0xFFFF)
        putU16(tree, groupType + 12, static_cast<std::uint16_t>(groups - 0xFFFF));
    const std::uint32_t iconLanguages = directory(1);
    const std::uint32_t groupLanguages = directory(1);
    const std::uint32_t iconData = static_cast<std::uint32_t>(tree.size());
    tree.resize(tree.size() + 16, 0);
    const std::uint32_t groupData = static_cast<std::uint32_t>(tree.size());
    tree.resize(tree.size() + 16, 0);
    constexpr std::uint32_t Subdirectory = 0x80000000u;
    entry(root, 0, 3, Subdirectory | iconType);
    entry(root, 1, 14, Subdirectory | groupType);
    entry(iconType, 0, 1, Subdirectory | iconLanguages);
    for (std::uint32_t g = 0; g < groups; ++g)
        entry(groupType, g, (g + 1) & 0xFFFF, Subdirectory | groupLanguages);
    entry(iconLanguages, 0, 0x0409, iconData);
    entry(groupLanguages, 0, 0x0409, groupData);

    const std::uint32_t groupAt = static_cast<std::uint32_t>(tree.size());
    appendU16(tree, 0);
    appendU16(tree, 1);
    appendU16(tree, static_cast<std::uint16_t>(entries));
    for (std::uint32_t i = 0; i < entries; ++i) {
        tree.insert(tree.end(), {32, 32, 0, 0});
        appendU16(tree, 1);
        appendU16(tree, 32);
        appendU32(tree, static_cast<std::uint32_t>(image.size()));
        appendU16(tree, 1);
    }
    tree.resize((tree.size() + 7) / 8 * 8, 0);
    const std::uint32_t imageAt = static_cast<std::uint32_t>(tree.size());
    tree.insert(tree.end(), image.begin(), image.end());
    putU32(tree, iconData, SectionRva + imageAt);
    putU32(tree, iconData + 4, static_cast<std::uint32_t>(image.size()));
    putU32(tree, groupData, SectionRva + groupAt);
    putU32(tree, groupData + 4, 6 + 14 * entries);

    ByteVector bytes(SectionFile, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    putU32(bytes, 0x3C, 0x80);
    bytes[0x80] = 'P';
    bytes[0x81] = 'E';
    putU16(bytes, 0x84, 0x8664);
    putU16(bytes, 0x86, 1);
    putU16(bytes, 0x94, 240);
    putU16(bytes, 0x98, 0x20B);
    putU32(bytes, 0x98 + 108, 16);
    putU32(bytes, 0x98 + 112 + 16, SectionRva);
    putU32(bytes, 0x98 + 112 + 20, static_cast<std::uint32_t>(tree.size()));
    const std::uint32_t section = 0x98 + 240;
    const std::uint32_t rawSize = static_cast<std::uint32_t>((tree.size() + 0x1FF) / 0x200 * 0x200);
    putU32(bytes, section + 8, static_cast<std::uint32_t>(tree.size()));
    putU32(bytes, section + 12, SectionRva);
    putU32(bytes, section + 16, rawSize);
    putU32(bytes, section + 20, SectionFile);
    putU32(bytes, section + 36, 0x40000040);
    bytes.insert(bytes.end(), tree.begin(), tree.end());
    bytes.resize(SectionFile + rawSize, 0);
    return bytes;
}

// An NE file with 65 535 groups, each naming icon 1, and 65 535 icons that
// all share one 32 x 32 image.
ByteVector neMany() {
    const ByteVector image = orvu::test::solidDib(32, 32, 0x40C020);
    const orvu::GroupEntry entry =
        orvu::test::groupEntry(32, 32, 32, 1, static_cast<std::uint32_t>(image.size()));
    std::vector<orvu::test::GroupResource> groups(0xFFFF);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        groups[g].name = static_cast<std::uint16_t>(g + 1);
        groups[g].images = {{entry, image}};
        groups[g].rawGroup = orvu::test::groupDirectory({entry});
    }
    return orvu::test::buildNe(groups, 8, orvu::test::RepeatedData::Shared);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvu_fuzz_large_inputs OUT\n");
        return 2;
    }
    const fs::path out = argv[1];
    fs::create_directories(out);
    save(out / "many-icons.exe", peSharingOneGroup(0xFFFF, 1));
    save(out / "largest-group.exe", peSharingOneGroup(1, 0xFFFF));
    save(out / "huge-dib.ico", iconFile(dib(1024, 32), 0, 32));
    save(out / "huge-1bpp.ico", iconFile(dib(1024, 1), 0, 1));
    save(out / "huge-png.ico", iconFile(rgbaPng(1024, false), 0, 32));
    save(out / "png-bomb.ico", iconFile(rgbaPng(1024, true), 0, 32));
    orvu::test::PngFormat deep;
    deep.width = 1024;
    deep.height = 1024;
    deep.depth = 16;
    save(out / "png16-bomb.ico", iconFile(orvu::test::zeroPng(deep), 0, 32));
    orvu::test::PngFormat claimed;
    claimed.width = 65535;
    claimed.height = 65535;
    const ByteVector claims = orvu::test::zeroPng(claimed, 1 << 20);
    save(out / "png-claims-65535.ico", iconFile(claims, 0, 32));
    ByteVector hugeHeader = dibHeader(0x7FFFFFFF, 0x7FFFFFFE, 32);
    hugeHeader.resize(4096, 0x33);
    save(out / "dib-claims-huge.ico", iconFile(hugeHeader, 0, 32));
    ByteVector pastLimit = dib(1024, 32);
    pastLimit.resize(9u << 20, 0x11); // 9 MB: more than one image may have
    save(out / "image-past-limit.ico", iconFile(pastLimit, 0, 32));
    save(out / "many-images.ico", iconFile(dib(1024, 32), 0, 32, 0xFFFF));
    save(out / "ne-many-icons.exe", neMany());
    save(out / "many-png-bombs.exe", peSharingOneGroup(0xFFFF, 1, rgbaPng(1024, true)));
    save(out / "many-huge-1bpp.exe", peSharingOneGroup(0xFFFF, 1, dib(1024, 1)));
    orvu::test::PngFormat one;
    save(out / "many-tiny-pngs.exe", peSharingOneGroup(0xFFFF, 1, orvu::test::zeroPng(one)));
    return 0;
}
