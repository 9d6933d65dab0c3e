// Writes the generated seeds of the fuzz targets into OUT/icon_library,
// OUT/icon_image and OUT/icon_cell: small executables and icon files of
// every kind the reader knows, DIB images of every depth, PNG images of
// every colour type, and a few near misses of each.
//
//   orvu_fuzz_seed_maker OUT

#include "support/icon_builders.h"
#include "support/png_writer.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using orvu::test::ByteVector;
using orvu::test::GroupResource;
using orvu::test::StoredImage;

void save(const fs::path& path, const ByteVector& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A PNG of the given colour type and depth whose samples count up; with
// `claimedWidth`/`claimedHeight` the header claims another size than the
// data holds.
ByteVector makePng(int width, int height, int colourType, int depth, std::uint32_t claimedWidth = 0,
                   std::uint32_t claimedHeight = 0) {
    orvu::test::PngFormat format;
    format.width = static_cast<std::uint32_t>(width);
    format.height = static_cast<std::uint32_t>(height);
    format.depth = static_cast<std::uint8_t>(depth);
    format.colourType = static_cast<std::uint8_t>(colourType);
    if (colourType == 3) {
        for (int i = 0; i < 4; ++i)
            format.palette.insert(format.palette.end(), {static_cast<std::uint8_t>(i * 60), 0x20,
                                                         static_cast<std::uint8_t>(255 - i * 60)});
        format.transparency = {0x00, 0x80, 0xFF};
    }
    const std::size_t rowBytes = orvu::test::pngRawLength(format) / format.height - 1;
    ByteVector raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        for (std::size_t i = 0; i < rowBytes; ++i)
            raw.push_back(static_cast<std::uint8_t>(
                colourType == 3 ? (i + static_cast<std::size_t>(y)) % 4
                                : (i * 37 + static_cast<std::size_t>(y) * 11)));
    }
    if (claimedWidth)
        format.width = claimedWidth;
    if (claimedHeight)
        format.height = claimedHeight;
    return orvu::test::encodePng(format, raw);
}

StoredImage stored(int size, int bitCount, ByteVector bytes) {
    return {orvu::test::groupEntry(size, size, bitCount, 0), std::move(bytes)};
}

GroupResource group(orvu::test::ResourceName name, std::vector<StoredImage> images) {
    GroupResource result;
    result.name = std::move(name);
    result.images = std::move(images);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvu_fuzz_seed_maker OUT\n");
        return 2;
    }
    const fs::path out = argv[1];
    for (const char* target : {"icon_library", "icon_image", "icon_cell", "cursor", "animation"})
        fs::create_directories(out / target);

    // Images.
    std::vector<std::pair<std::string, ByteVector>> images;
    for (int bitCount : {1, 4, 8, 16, 24, 32})
        images.emplace_back("dib_" + std::to_string(bitCount) + "bpp",
                            orvu::test::solidDib(8, bitCount, 0x3366CC));
    {
        orvu::test::DibDescription dib;
        dib.width = 4;
        dib.height = 4;
        dib.bitCount = 32;
        for (int i = 0; i < 16; ++i)
            dib.pixels.push_back(static_cast<std::uint32_t>(i * 0x10) << 24 | 0x00FF8000u);
        images.emplace_back("dib_32bpp_alpha", orvu::test::encodeDib(dib));
        dib.pixels.assign(16, 0x00404040);
        dib.mask = {1, 0, 1, 0, 0, 1, 0, 1, 1, 1, 0, 0, 0, 0, 1, 1};
        images.emplace_back("dib_32bpp_masked", orvu::test::encodeDib(dib));
        dib.withMask = false;
        images.emplace_back("dib_32bpp_no_mask", orvu::test::encodeDib(dib));
        dib = {};
        dib.width = 3;
        dib.height = 2;
        dib.bitCount = 4;
        dib.palette = {0x000000, 0x040404, 0xFF0000, 0x00FF00};
        dib.pixels = {0, 1, 2, 3, 1, 0};
        dib.mask = {1, 1, 0, 0, 1, 1};
        images.emplace_back("dib_4bpp_inverting", orvu::test::encodeDib(dib));
    }
    {
        // BITMAPCOREHEADER, 1 bpp, 2 x 2: header, two RGBTRIPLEs, colour rows, mask rows.
        ByteVector core = {12, 0, 0, 0, 2, 0, 4, 0, 1, 0, 1, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF};
        core.insert(core.end(), {0x80, 0, 0, 0, 0x40, 0, 0, 0, 0x80, 0, 0, 0, 0x40, 0, 0, 0});
        images.emplace_back("dib_core_header", core);
        // BITMAPINFOHEADER with BI_BITFIELDS, 16 bpp 5-6-5, 2 x 1.
        ByteVector fields = orvu::test::solidDib(2, 16, 0x00FF00);
        orvu::test::putU32(fields, 16, 3);
        const ByteVector masks = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
        fields.insert(fields.begin() + 40, masks.begin(), masks.end());
        images.emplace_back("dib_16bpp_bitfields", fields);
    }
    images.emplace_back("png_rgba", makePng(4, 4, 6, 8));
    images.emplace_back("png_rgb", makePng(3, 5, 2, 8));
    images.emplace_back("png_palette", makePng(4, 2, 3, 2));
    images.emplace_back("png_grey_alpha", makePng(2, 2, 4, 8));
    images.emplace_back("png_rgba16", makePng(2, 3, 6, 16));
    images.emplace_back("png_grey1", makePng(9, 1, 0, 1));
    images.emplace_back("png_claims_huge", makePng(1, 1, 6, 8, 65535, 65535));
    images.emplace_back("png_claims_limit", makePng(1, 1, 6, 8, 1024, 1));
    for (const auto& [name, bytes] : images) {
        save(out / "icon_image" / name, bytes);
        ByteVector cell{static_cast<std::uint8_t>(name.size())};
        cell.insert(cell.end(), bytes.begin(), bytes.end());
        save(out / "icon_cell" / name, cell);
    }

    // Files.
    const std::vector<GroupResource> groups = {
        group(std::uint16_t{1}, {stored(16, 4, orvu::test::solidDib(16, 4, 0xFF0000)),
                                 stored(32, 8, orvu::test::solidDib(32, 8, 0x00FF00))}),
        group(std::u16string(u"MAINICON"), {stored(4, 32, makePng(4, 4, 6, 8))}),
        group(std::uint16_t{7}, {stored(2, 1, orvu::test::solidDib(2, 1, 0xFFFFFF))}),
    };
    const std::string library = "icon_library";
    orvu::test::PeOptions options;
    options.pe32Plus = false;
    save(out / library / "pe32", orvu::test::buildPe(groups, options));
    options.pe32Plus = true;
    save(out / library / "pe32plus", orvu::test::buildPe(groups, options));
    GroupResource multilingual = groups[2];
    multilingual.languages = {0x0409, 0x0804};
    options.rootOffsetInSection = 0x20;
    save(out / library / "pe_languages", orvu::test::buildPe({multilingual}, options));
    GroupResource rawGroup = groups[2];
    rawGroup.rawGroup = ByteVector{0, 0, 1, 0, 2, 0, 2, 2, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 9, 0};
    save(out / library / "pe_missing_image", orvu::test::buildPe({rawGroup}));
    save(out / library / "ne_shift4", orvu::test::buildNe(groups, 4));
    save(out / library / "ne_shift0", orvu::test::buildNe({groups[2]}, 0));
    save(out / library / "ico",
         orvu::test::buildIconFile({groups[0].images[0], groups[1].images[0]}));

    // Cursors: groups in executables and .cur files, a hotspot outside the
    // image, a PNG image after its hotspot.
    std::vector<StoredImage> cursorImages = {
        stored(32, 1, orvu::test::solidDib(32, 1, 0xFFFFFF)),
        stored(48, 32, orvu::test::solidDib(48, 32, 0x3366CC)),
        stored(4, 32, makePng(4, 4, 6, 8)),
    };
    cursorImages[0].entry.hotspot = orvu::Hotspot{3, 9};
    cursorImages[1].entry.hotspot = orvu::Hotspot{-2, 70};
    cursorImages[2].entry.hotspot = orvu::Hotspot{1, 1};
    GroupResource cursor = group(std::uint16_t{32512}, cursorImages);
    cursor.type = orvu::test::GroupType::Cursor;
    save(out / "cursor" / "pe", orvu::test::buildPe({groups[0], cursor}));
    save(out / "cursor" / "ne", orvu::test::buildNe({groups[2], cursor}, 4));
    save(out / "cursor" / "cur", orvu::test::buildCursorFile(cursorImages));

    // Animated cursors: .ani files with and without rates and sequence, a
    // frame that is an icon file, hostile counts and sizes, and resources.
    const ByteVector frameA = orvu::test::buildCursorFile({cursorImages[0]});
    const ByteVector frameB = orvu::test::buildCursorFile({cursorImages[1], cursorImages[2]});
    const ByteVector iconFrame = orvu::test::buildIconFile({groups[0].images[0]});
    const std::string animation = "animation";
    save(out / animation / "ani_plain", orvu::test::buildAnimation({.frames = {frameA, frameB}}));
    save(out / animation / "ani_sequence",
         orvu::test::buildAnimation({.frames = {frameA, frameB, iconFrame},
                                     .sequence = {2, 0, 1, 0},
                                     .rates = {5, 10, 15, 20},
                                     .width = 32,
                                     .height = 32}));
    save(out / animation / "ani_hostile", orvu::test::buildAnimation({.frames = {frameA},
                                                                      .sequence = {0, 7},
                                                                      .frameCount = 3,
                                                                      .stepCount = 9,
                                                                      .riffSize = 0xFFFFFF00}));
    GroupResource animated = group(std::uint16_t{5}, {});
    animated.type = orvu::test::GroupType::AnimatedCursor;
    animated.animation = orvu::test::buildAnimation({.frames = {frameB}, .rates = {3}});
    save(out / animation / "pe_anicursor", orvu::test::buildPe({groups[0], animated}));

    // Sizes at the edges of what the fields hold, beside a good image: PNG
    // frames and cursor images claiming 2^31 - 1 pixels a side, on both
    // sides and (a mutation away from that) on one, and an executable's
    // cursor directory claiming 65 535 a side for an image whose header
    // can't be read. With the dictionary's tokens of extreme sizes they lead
    // to the sums and products of sizes, which must not overflow.
    const auto claiming = [&](std::uint32_t width, std::uint32_t height) {
        StoredImage image = stored(0, 32, makePng(1, 1, 6, 8, width, height));
        image.entry.hotspot = orvu::Hotspot{0, 0};
        return image;
    };
    const StoredImage huge = claiming(0x7FFFFFFF, 0x7FFFFFFF);
    save(out / "cursor" / "cur_claims_huge", orvu::test::buildCursorFile({huge, cursorImages[0]}));
    save(out / "cursor" / "cur_claims_wide",
         orvu::test::buildCursorFile({claiming(0x7FFFFFFF, 1), cursorImages[0]}));
    save(out / animation / "ani_claims_huge",
         orvu::test::buildAnimation(
             {.frames = {orvu::test::buildCursorFile({huge, cursorImages[0]})}}));
    save(out / animation / "ani_claims_tall",
         orvu::test::buildAnimation({.frames = {orvu::test::buildCursorFile(
                                         {claiming(1, 0x7FFFFFFF), cursorImages[0]})}}));
    StoredImage claim = cursorImages[1];
    claim.entry.cursorSize = orvu::CursorSize{0xFFFF, 0xFFFF};
    claim.bytes.resize(8);
    GroupResource claimingCursor = group(std::uint16_t{32513}, {claim, cursorImages[0]});
    claimingCursor.type = orvu::test::GroupType::Cursor;
    save(out / "cursor" / "pe_claims_65535", orvu::test::buildPe({claimingCursor}));
    return 0;
}
