// The files an export writes: the tile's bitmap, replaced whole or not at
// all, and the format a chosen name asks for.

#include "export/bitmap_file.h"
#include "export/save_format.h"
#include "icons/group_kind.h"
#include "support/save_picture.h"
#include "support/test_files.h"
#include "support/unprivileged.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace orvu {
namespace {

namespace fs = std::filesystem;

Surface gradient() {
    Surface picture = Surface::filled(32, 32, 0);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x)
            picture.pixels[static_cast<std::size_t>(y * 32 + x)] =
                static_cast<std::uint32_t>(x * 8) << 16 | static_cast<std::uint32_t>(y * 8) << 8 |
                0x40;
    }
    return picture;
}

TEST(BitmapFile, isA24BitBottomUpWindowsBitmap) {
    const auto bytes = encodeBitmapFile(gradient());
    ASSERT_EQ(bytes.size(), 14u + 40u + 32u * 32u * 3u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(bytes[10], 54); // pixels follow the two headers
    EXPECT_EQ(bytes[22], 32); // positive height: bottom-up
    EXPECT_EQ(bytes[28], 24); // bits per pixel
    // The first stored row is the picture's bottom row, pixels as blue, green, red.
    EXPECT_EQ(bytes[54], 0x40);
    EXPECT_EQ(bytes[55], 31 * 8);
    EXPECT_EQ(bytes[56], 0);
}

TEST(SavePicture, replacesAnExistingFileWhole) {
    test::TempDir dir;
    test::writeFile(dir / "tile.ico", std::vector<std::uint8_t>(5000, 'x'));
    // Not what a new file gets: the replaced file keeps its own permissions.
    const auto mode = fs::perms::owner_all | fs::perms::group_read;
    fs::permissions(dir / "tile.ico", mode);
    ASSERT_TRUE(test::savePicture(gradient(), dir / "tile.ico"));
    EXPECT_EQ(test::readFile(dir / "tile.ico"), encodeBitmapFile(gradient()));
#ifndef _WIN32
    EXPECT_EQ(fs::status(dir / "tile.ico").permissions(), mode);
#endif
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(SavePicture, writesThroughALinkToItsFile) {
    test::TempDir dir;
    test::writeFile(dir / "real.bmp", {'o', 'l', 'd'});
#ifdef _WIN32
    // File links need a privilege (or developer mode) on Windows.
    std::error_code linkError;
    fs::create_symlink(dir / "real.bmp", dir / "link.bmp", linkError);
    if (linkError)
        GTEST_SKIP() << "no file links here: " << linkError.message();
#else
    fs::create_symlink(dir / "real.bmp", dir / "link.bmp");
#endif
    ASSERT_TRUE(test::savePicture(gradient(), dir / "link.bmp"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.bmp"));
    EXPECT_EQ(test::readFile(dir / "real.bmp"), encodeBitmapFile(gradient()));
}

TEST(SavePicture, failuresSayWhyAndLeaveEverythingAsItWas) {
    test::TempDir dir;
    EXPECT_FALSE(test::savePicture(gradient(), dir / "missing/tile.bmp"));
    EXPECT_FALSE(test::savePicture(gradient(), dir.path())); // a folder
#ifndef _WIN32
    struct stat before {};
    ASSERT_EQ(::stat("/dev/full", &before), 0);
    EXPECT_FALSE(test::savePicture(gradient(), "/dev/full"));
    struct stat after {};
    ASSERT_EQ(::stat("/dev/full", &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(before.st_rdev, after.st_rdev);
#endif
}

TEST(SavePicture, readOnlyFolderKeepsItsEarlierFile) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps no one out of a folder through its permission bits";
#endif
    test::TempDir dir;
    fs::create_directory(dir / "locked");
    test::writeFile(dir / "locked/old.bmp", {'o', 'l', 'd'});
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::group_read | fs::perms::group_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
    EXPECT_TRUE(test::runWithoutPrivileges([&] {
        const auto saved = test::savePicture(gradient(), dir / "locked/old.bmp");
        return !saved && saved.failure().kind == Failure::Kind::System;
    }));
    EXPECT_EQ(test::readFile(dir / "locked/old.bmp"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "locked"), fs::directory_iterator()), 1);
}

// The formats table: what a name's extension names, which format keeps a
// whole group of each kind, what saving a group of each kind offers, and what
// the command line's --format takes.
TEST(SaveFormats, tellEachKindItsFormats) {
    using F = SaveFormat;
    struct Case {
        GroupKind kind;
        F whole;
        std::vector<F> offered;
        F asPng;
    };
    const Case cases[] = {
        {GroupKind::Icon, F::Ico, {F::Ico, F::Png, F::Bmp}, F::Png},
        {GroupKind::Cursor, F::Cur, {F::Cur, F::Png, F::Bmp}, F::Png},
        {GroupKind::Animated, F::Ani, {F::Ani, F::Png, F::Bmp}, F::Png},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wholeFormatOf(c.kind), c.whole) << kindName(c.kind);
        EXPECT_EQ(formatsOffered(c.kind), c.offered) << kindName(c.kind);
        // A whole format asked for saves each kind in its own.
        for (const F whole : {F::Ico, F::Cur, F::Ani})
            EXPECT_EQ(formatFor(c.kind, whole), c.whole) << kindName(c.kind);
        EXPECT_EQ(formatFor(c.kind, F::Png), c.asPng) << kindName(c.kind);
    }
}

TEST(SaveFormats, nameTheFormatByItsExtensionInAnyCase) {
    struct Case {
        const char* name;
        std::optional<SaveFormat> format;
    };
    const Case cases[] = {
        {"a.ico", SaveFormat::Ico}, {"b.PNG", SaveFormat::Png},
        {"c.Bmp", SaveFormat::Bmp}, {"d.CUR", SaveFormat::Cur},
        {"e.ani", SaveFormat::Ani}, {"f.txt", std::nullopt},
        {".png", std::nullopt},     {"g", std::nullopt},
        {"h.ıco", std::nullopt}, // a dotless i is no i
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatOfName(c.name), c.format) << c.name;
    EXPECT_EQ(formatOfOption("PNG"), SaveFormat::Png);
    EXPECT_EQ(formatOfOption("ico"), SaveFormat::Ico);
    for (const char* other : {"bmp", "cur", "ani", "", "jpeg"})
        EXPECT_EQ(formatOfOption(other), std::nullopt) << other;
}

} // namespace
} // namespace orvu
