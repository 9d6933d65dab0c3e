// The Windows-only parts of the platform layer, run on Windows or under
// Wine: PNG decoding through WIC, file names outside the ANSI code page,
// folder identities, devices.

#include "platform/atomic_file.h"
#include "platform/file_source.h"
#include "platform/folder_listing.h"
#include "platform/icon_files.h"
#include "platform/windows_api.h"
#include "png/wic_png_decoder.h"
#include "support/icon_builders.h"
#include "support/png_writer.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <thread>

namespace orvu {
namespace {

namespace fs = std::filesystem;

// Every alpha value from 0 to 255 with colours that differ per pixel,
// including colour under fully clear pixels.
std::vector<std::uint32_t> alphaPicture() {
    std::vector<std::uint32_t> pixels;
    for (std::uint32_t y = 0; y < 16; ++y) {
        for (std::uint32_t x = 0; x < 16; ++x) {
            const std::uint32_t alpha = y * 16 + x;
            pixels.push_back(alpha << 24 | (x * 16) << 16 | (y * 16) << 8 | (0xFF - alpha));
        }
    }
    return pixels;
}

std::string utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

TEST(WicPngDecoder, decodesEveryAlphaUnpremultiplied) {
    const std::vector<std::uint32_t> pixels = alphaPicture();
    const WicPngDecoder decoder;
    const auto bitmap = decoder.decode(ByteView(test::encodePng(16, 16, pixels)));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 16);
    EXPECT_EQ(bitmap->height, 16);
    EXPECT_EQ(bitmap->pixels, pixels);
}

TEST(WicPngDecoder, colourWithoutAlphaComesOutOpaque) {
    std::vector<std::uint32_t> pixels = alphaPicture();
    const WicPngDecoder decoder;
    const auto bitmap =
        decoder.decode(ByteView(test::encodePng(16, 16, pixels, test::PngColours::Rgb)));
    ASSERT_TRUE(bitmap);
    for (std::uint32_t& pixel : pixels)
        pixel |= 0xFF000000u;
    EXPECT_EQ(bitmap->pixels, pixels);
}

TEST(WicPngDecoder, refusesWhatIsNotAWholePng) {
    const WicPngDecoder decoder;
    test::ByteVector png = test::encodePng(16, 16, alphaPicture());
    EXPECT_FALSE(decoder.decode(ByteView()));
    test::ByteVector noise(300, 0x5A);
    EXPECT_FALSE(decoder.decode(ByteView(noise)));
    png.resize(png.size() / 2);
    EXPECT_FALSE(decoder.decode(ByteView(png)));
}

TEST(WicPngDecoder, refusesImagesPastTheSizeLimit) {
    const WicPngDecoder decoder;
    const std::vector<std::uint32_t> wide(2000, 0xFF102030u);
    EXPECT_FALSE(decoder.decode(ByteView(test::encodePng(2000, 1, wide))));
}

TEST(WicPngDecoder, drawsPngIconsOfExecutables) {
    std::vector<std::uint32_t> pixels(32 * 32, 0x80FF0000u);
    pixels[0] = 0xFF00FF00u;
    test::GroupResource group;
    group.name = std::uint16_t{1};
    group.images = {{test::groupEntry(32, 32, 32, 0), test::encodePng(32, 32, pixels)}};
    const WicPngDecoder decoder;
    IconLibrary library = IconLibrary::fromBytes(test::buildPe({group}), &decoder);
    ASSERT_EQ(library.count(), 1u);
    const auto icon = library.largeIcon(0);
    ASSERT_TRUE(icon);
    EXPECT_TRUE(icon->hasAlpha);
    EXPECT_EQ(icon->pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(icon->pixel(31, 31), 0x80FF0000u);
    // Without a decoder the same icon has no image.
    IconLibrary without = IconLibrary::fromBytes(test::buildPe({group}), nullptr);
    EXPECT_FALSE(without.largeIcon(0));
}

TEST(WicPngDecoder, worksOnThreadsWithOrWithoutComInEitherApartment) {
    const test::ByteVector png = test::encodePng(16, 16, alphaPicture());
    const WicPngDecoder decoder;
    for (const DWORD apartment :
         {DWORD{0}, DWORD{COINIT_APARTMENTTHREADED}, DWORD{COINIT_MULTITHREADED}}) {
        bool decoded = false;
        std::thread worker([&] {
            const bool com = apartment != 0 && SUCCEEDED(CoInitializeEx(nullptr, apartment));
            decoded = decoder.decode(ByteView(png)).has_value() &&
                      decoder.decode(ByteView(png)).has_value();
            if (com)
                CoUninitialize();
        });
        worker.join();
        EXPECT_TRUE(decoded) << "apartment " << apartment;
    }
}

TEST(WindowsFiles, namesOutsideTheAnsiCodePageAreReadAndListed) {
    test::TempDir dir;
    const fs::path folder = dir.path() / u8"图标 文件夹";
    fs::create_directory(folder);
    test::GroupResource group;
    group.name = std::uint16_t{1};
    group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, 0x336699)}};
    test::writeFile(folder / u8"程序 ☃.exe", test::buildPe({group}));

    auto library = openIconLibrary(folder / u8"程序 ☃.exe", nullptr);
    ASSERT_TRUE(library);
    ASSERT_EQ(library->count(), 1u);
    const auto icon = library->largeIcon(0);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->pixel(5, 5) & 0xFFFFFF, 0x336699u);

    FolderLister lister;
    const auto top = lister.list(dir.path());
    ASSERT_TRUE(top);
    ASSERT_EQ(top->subfolders.size(), 1u);
    EXPECT_EQ(top->subfolders[0], folder);
    const auto listing = lister.list(folder);
    ASSERT_TRUE(listing);
    ASSERT_EQ(listing->files.size(), 1u);
    EXPECT_EQ(listing->files[0].name, utf8(u8"程序 ☃.exe"));
    EXPECT_TRUE(listing->files[0].regular);
}

TEST(WindowsFiles, devicesAndFoldersAreRefusedWithAReason) {
    test::TempDir dir;
    for (const fs::path& path : {fs::path(L"NUL"), fs::path(L"\\\\.\\NUL"), dir.path()}) {
        const auto source = FileSource::open(path);
        ASSERT_FALSE(source) << path;
        EXPECT_FALSE(describe(source.failure()).empty()) << path;
        EXPECT_FALSE(openIconLibrary(path, nullptr)) << path;
    }
}

TEST(WindowsFolders, oneFolderUnderTwoSpellingsIsListedOnce) {
    test::TempDir dir;
    const fs::path folder = dir.path() / "Icons";
    fs::create_directory(folder);
    test::writeFile(folder / "a.exe", {});
    FolderLister lister;
    const auto first = lister.list(folder);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->files.size(), 1u);
    // Names are case-insensitive here: the same folder, so nothing new to list.
    const auto again = lister.list(dir.path() / "ICONS");
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->files.empty());
    EXPECT_TRUE(again->subfolders.empty());
    // A new lister (a new walk) lists it again.
    FolderLister fresh;
    const auto other = fresh.list(dir.path() / "ICONS");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->files.size(), 1u);
}

TEST(WindowsFiles, replacesAFileWithAWideNameWholeAndLeavesNothingBehind) {
    test::TempDir dir;
    const fs::path target = dir.path() / u8"图标 ☃.bmp";
    test::writeFile(target, {'o', 'l', 'd'});
    const std::vector<std::uint8_t> bytes(5000, 0xA5);
    ASSERT_TRUE(replaceFileAtomically(target, bytes));
    EXPECT_EQ(test::readFile(target), bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    EXPECT_FALSE(replaceFileAtomically(dir.path(), bytes)); // a folder
}

} // namespace
} // namespace orvu
