// liborvu-icons through its C interface, as a program that links the shared
// library calls it: one open file asked again and again, a hostile file, and
// an image that its directory lists otherwise.

#include "orvu-icons.h"
#include "support/icon_builders.h"
#include "support/test_files.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <optional>
#include <string>

namespace orvu {
namespace {

// An open file, closed when it goes.
struct OpenFile {
    explicit OpenFile(const std::vector<std::uint8_t>& bytes) {
        status = orvu_icons_open_memory(bytes.data(), bytes.size(), &file);
    }
    explicit OpenFile(const std::filesystem::path& path) {
        status = orvu_icons_open(path.c_str(), &file);
    }
    ~OpenFile() { orvu_icons_close(file); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    orvu_icons_file* file = nullptr;
    orvu_icons_status status = ORVU_ICONS_OK;
};

orvu_icons_status draw(orvu_icons_file* file, int size) {
    std::uint8_t* pixels = nullptr;
    const orvu_icons_status status = orvu_icons_draw(file, 0, size, 0xFFFFFF, &pixels);
    orvu_icons_free(pixels);
    return status;
}

std::vector<std::uint8_t> peOf(test::StoredImage image) {
    test::GroupResource group;
    group.name = std::uint16_t{1};
    group.images = {std::move(image)};
    return test::buildPe({group});
}

// The limits bound what one call may cost, not how often a file is asked:
// more draws at 256 than one call may decode pixels for (and, of a DIB of
// 256 x 256, read bytes for) all work.
TEST(CInterface, aFileKeptOpenWorksHoweverOftenItIsAsked) {
    const std::filesystem::path shell32 =
        test::corpusDir() / "usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll";
    const std::vector<std::uint8_t> largeDib =
        peOf({test::groupEntry(0, 0, 32, 0), test::solidDib(256, 32, 0x336699)});
    struct Case {
        const char* what;
        std::optional<std::filesystem::path> path; // else largeDib
    };
    const Case cases[] = {{"shell32.dll's first icon", shell32},
                          {"a 256 x 256 DIB, 256 KB a read", std::nullopt}};
    for (const Case& c : cases) {
        if (c.path && !std::filesystem::exists(*c.path)) {
            std::cout << c.what << ": no corpus (scripts/fetch-corpus.sh)\n";
            continue;
        }
        OpenFile open = c.path ? OpenFile(*c.path) : OpenFile(largeDib);
        ASSERT_EQ(open.status, ORVU_ICONS_OK) << c.what;
        for (int i = 1; i <= 520; ++i)
            ASSERT_EQ(draw(open.file, 256), ORVU_ICONS_OK)
                << c.what << ", draw " << i << ": " << orvu_icons_last_message();
    }
}

// A small file whose icon lists one large image 300 times: writing it as an
// .ico would read 81 MB, so every call that tries fails over the limit,
// and each call after it that stays within the limit works.
TEST(CInterface, aHostileFileFailsEachCallOverTheLimitAlone) {
    const test::StoredImage large{test::groupEntry(0, 0, 32, 0), test::solidDib(256, 32, 0xC0)};
    OpenFile open(test::iconFileRepeating(large, 300));
    ASSERT_EQ(open.status, ORVU_ICONS_OK);
    for (int round = 0; round < 2; ++round) {
        std::uint8_t* ico = nullptr;
        std::size_t size = 0;
        EXPECT_EQ(orvu_icons_ico(open.file, 0, &ico, &size), ORVU_ICONS_OVER_LIMIT);
        EXPECT_NE(std::string(orvu_icons_last_message()).find("MaxBytesPerFile"), std::string::npos)
            << orvu_icons_last_message();
        EXPECT_EQ(ico, nullptr);
        EXPECT_EQ(draw(open.file, 48), ORVU_ICONS_OK) << orvu_icons_last_message();
    }
}

// A 256 x 256 PNG that the directory lists as 13 x 0 at 21 060 bits is
// described by its own header, with what the directory lists; Windows'
// choice for a size goes by the directory, the largest image by the header.
TEST(CInterface, anImageListedOtherwiseIsDescribedAsItIs) {
    OpenFile open(test::buildPe({test::iconListingPngByItsHeader()}));
    ASSERT_EQ(open.status, ORVU_ICONS_OK);
    orvu_icons_icon* icon = nullptr;
    ASSERT_EQ(orvu_icons_describe(open.file, 0, &icon), ORVU_ICONS_OK);
    struct Row {
        std::size_t image;
        std::array<std::int32_t, 7> info; // width, height, bits, and the listed ones
    };
    for (const Row& row :
         {Row{2, {48, 48, 32, 0, 0, 0, 0}}, Row{3, {256, 256, 32, 1, 13, 0, 21060}}}) {
        orvu_icons_image_info info{};
        info.struct_size = sizeof info;
        ASSERT_EQ(orvu_icons_icon_image(icon, row.image, &info), ORVU_ICONS_OK);
        EXPECT_EQ((std::array<std::int32_t, 7>{info.width, info.height, info.bits,
                                               info.is_listed_otherwise, info.listed_width,
                                               info.listed_height, info.listed_bits}),
                  row.info)
            << "image " << row.image;
    }
    std::size_t chosen = 0;
    ASSERT_EQ(orvu_icons_icon_image_for_size(icon, 256, &chosen), ORVU_ICONS_OK);
    EXPECT_EQ(chosen, 2u);
    orvu_icons_icon_free(icon);

    std::uint8_t* png = nullptr;
    std::size_t bytes = 0;
    ASSERT_EQ(orvu_icons_png_for_size(open.file, 0, 0, &png, &bytes), ORVU_ICONS_OK);
    ASSERT_GE(bytes, 24u);
    EXPECT_EQ(png[18], 1); // IHDR width 256, big-endian
    EXPECT_EQ(png[19], 0);
    orvu_icons_free(png);
}

} // namespace
} // namespace orvu
