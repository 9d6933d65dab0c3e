// The whole icon: every image of it described, decoded at its natural size,
// and written back as an .ico file without losing a byte.

#include "icons/icon_bitmap.h"
#include "icons/icon_file_writer.h"
#include "icons/icon_library.h"
#include "icons/limits.h"
#include "png/default_decoder.h"
#include "support/icon_builders.h"
#include "support/png_writer.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

using test::ByteVector;
using test::GroupResource;
using test::StoredImage;

StoredImage dib(int size, int bitCount, std::uint32_t rgb) {
    return {test::groupEntry(size, size, bitCount, 0), test::solidDib(size, bitCount, rgb)};
}

StoredImage png(int size, std::uint32_t argb) {
    const std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size * size), argb);
    return {test::groupEntry(size, size, 32, 0), test::encodePng(size, size, pixels)};
}

// An icon of three images, one of them a 256 x 256 PNG (0 in the directory).
GroupResource mixedIcon() {
    GroupResource group;
    group.name = std::uint16_t{101};
    group.languages = {1033};
    group.images = {dib(16, 4, 0xFF0000), dib(32, 32, 0x00FF00), png(256, 0x800000FF)};
    return group;
}

class WholeIcon : public ::testing::Test {
protected:
    const PngDecoder* decoder = defaultPngDecoder();
};

TEST_F(WholeIcon, describesEveryImageWithTheIconsNameAndLanguage) {
    GroupResource named = mixedIcon();
    named.name = std::u16string(u"MAINICON");
    IconLibrary library = IconLibrary::fromBytes(test::buildPe({named, mixedIcon()}), decoder);
    ASSERT_EQ(library.count(), 2u);

    struct Row {
        std::uint32_t k;
        IconName name;
    };
    for (const Row& row : {Row{0, {std::nullopt, "MAINICON", 1033}}, Row{1, {101, "", 1033}}}) {
        const auto icon = library.describe({GroupKind::Icon, row.k});
        ASSERT_TRUE(icon) << row.k;
        EXPECT_EQ(icon->index, row.k);
        EXPECT_EQ(icon->name, row.name);
        ASSERT_EQ(icon->images.size(), 3u);
        EXPECT_EQ(icon->large, std::optional<std::size_t>(1)); // the 32 x 32 one
    }
    const auto icon = library.describe({GroupKind::Icon, 1});
    const ImageDescription& small = icon->images[0];
    EXPECT_EQ(small.width, 16);
    EXPECT_EQ(small.bitCount, 4);
    EXPECT_EQ(small.format, ImageFormat::Dib);
    const ImageDescription& large = icon->images[2];
    EXPECT_EQ(large.width, 256); // a 0 in the directory
    EXPECT_EQ(large.height, 256);
    EXPECT_EQ(large.format, ImageFormat::Png);
    EXPECT_EQ(large.bytes, mixedIcon().images[2].bytes.size());
}

// A 256 x 256 PNG listed by bytes of its header (13 x 0, 21 060 bits) is
// described as what it is, with what the directory lists; Windows' choice
// for a size still goes by the directory, which puts it farther from 256
// than the 48 x 48 image.
TEST_F(WholeIcon, aPngListedByBytesOfItsHeaderIsDescribedAsItIs) {
    IconLibrary library =
        IconLibrary::fromBytes(test::buildPe({test::iconListingPngByItsHeader()}), decoder);
    const auto icon = library.describe({GroupKind::Icon, 0});
    ASSERT_TRUE(icon);
    ASSERT_EQ(icon->images.size(), 4u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_FALSE(icon->images[i].listed) << i;
    const ImageDescription& large = icon->images[3];
    EXPECT_EQ((ImageSize{large.width, large.height, large.bitCount}), (ImageSize{256, 256, 32}));
    EXPECT_EQ(large.format, ImageFormat::Png);
    EXPECT_EQ(large.listed, (ImageSize{13, 0, 21060}));
    EXPECT_EQ(icon->large, 1u);
    const auto at256 = library.imageAt({GroupKind::Icon, 0}, 256);
    ASSERT_TRUE(at256);
    EXPECT_EQ(at256->bytes, test::iconListingPngByItsHeader().images[2].bytes);
}

// Images the directory lists and the file lacks are described as missing,
// and the icon's other images are still there to be written.
TEST_F(WholeIcon, imagesTheFileLacksAreMissingAndTheOthersStayReadable) {
    const GroupResource icon = mixedIcon(); // RT_ICON 1 to 3
    const auto entry = [&](std::size_t image, std::uint32_t location) {
        GroupEntry listed = icon.images[image].entry;
        listed.bytesInResource = static_cast<std::uint32_t>(icon.images[image].bytes.size());
        listed.location = location;
        return listed;
    };
    struct Case {
        const char* what;
        std::vector<GroupEntry> directory;
        std::vector<std::size_t> held;    // positions
        std::vector<std::size_t> missing; // positions
    };
    const std::vector<Case> cases = {
        {"no RT_ICON 99", {entry(1, 2), entry(0, 99)}, {0}, {1}},
        {"the 256 x 256 image after a missing one",
         {entry(1, 98), entry(2, 3), entry(0, 1)},
         {1, 2},
         {0}},
        {"none at all", {entry(0, 97)}, {}, {0}},
    };
    for (const Case& c : cases) {
        GroupResource broken = icon;
        broken.rawGroup = test::groupDirectory(c.directory);
        IconLibrary library = IconLibrary::fromBytes(test::buildPe({broken}), decoder);
        const auto described = library.describe({GroupKind::Icon, 0});
        ASSERT_TRUE(described) << c.what;
        ASSERT_EQ(described->images.size(), c.directory.size()) << c.what;
        for (const std::size_t i : c.missing) {
            EXPECT_EQ(described->images[i].format, ImageFormat::Missing) << c.what;
            EXPECT_EQ(described->images[i].bytes, 0u) << c.what;
        }
        const auto images = library.images({GroupKind::Icon, 0});
        ASSERT_TRUE(images) << c.what;
        ASSERT_EQ(images->images.size(), c.held.size()) << c.what;
        for (std::size_t i = 0; i < c.held.size(); ++i) {
            const GroupEntry& listed = c.directory[c.held[i]];
            EXPECT_EQ(images->images[i].bytes, icon.images[listed.location - 1].bytes) << c.what;
        }
        ASSERT_EQ(images->missing.size(), c.missing.size()) << c.what;
        for (std::size_t i = 0; i < c.missing.size(); ++i) {
            EXPECT_EQ(images->missing[i].position, c.missing[i]) << c.what;
            EXPECT_EQ(images->missing[i].failure.kind, Failure::Kind::NoSuchIcon) << c.what;
        }
    }
}

// A directory that lists one image many times counts its bytes each time:
// past the bytes one file may give, the icon fails and names the limit,
// instead of a copy per entry filling the memory.
TEST_F(WholeIcon, anImageListedOverAndOverCountsAgainstTheFilesByteLimit) {
    const test::StoredImage large{test::groupEntry(256, 256, 32, 0), test::solidDib(256, 32, 1)};
    const std::uint32_t size = static_cast<std::uint32_t>(large.bytes.size()); // 270 400
    const auto timesFor = [&](std::uint64_t bytes) {
        return static_cast<std::uint16_t>(bytes / size + 1);
    };
    GroupEntry listed = large.entry;
    listed.bytesInResource = size;
    listed.location = 1;
    const auto peListing = [&](std::uint16_t times) {
        GroupResource group;
        group.name = std::uint16_t{1};
        group.images = {large};
        group.rawGroup = test::groupDirectory(std::vector<GroupEntry>(times, listed));
        return test::buildPe({group});
    };
    struct Case {
        const char* what;
        ByteVector file;
        std::size_t images; // 0: fails over the limit
    };
    const std::vector<Case> cases = {
        {"an icon file, past the limit",
         test::iconFileRepeating(large, timesFor(limits::MaxBytesPerFile)), 0},
        {"an executable, past the limit", peListing(timesFor(limits::MaxBytesPerFile)), 0},
        {"an executable, twice", peListing(2), 2},
    };
    for (const Case& c : cases) {
        IconLibrary library = IconLibrary::fromBytes(c.file, decoder);
        const auto images = library.images({GroupKind::Icon, 0});
        if (c.images == 0) {
            ASSERT_FALSE(images) << c.what;
            EXPECT_EQ(images.failure().kind, Failure::Kind::OverLimit) << c.what;
            EXPECT_NE(images.failure().detail.find("MaxBytesPerFile"), std::string::npos)
                << c.what << ": " << images.failure().detail;
            continue;
        }
        ASSERT_TRUE(images) << c.what;
        ASSERT_EQ(images->images.size(), c.images) << c.what;
        for (const IconImage& image : images->images)
            EXPECT_EQ(image.bytes, large.bytes) << c.what;
    }
}

// What the executable stores is what the .ico holds, and it reads back the same.
TEST_F(WholeIcon, iconFileHoldsEveryImageByteForByteAndReadsBackTheSame) {
    IconLibrary original = IconLibrary::fromBytes(test::buildPe({mixedIcon()}), decoder);
    const auto icon = original.images({GroupKind::Icon, 0});
    ASSERT_TRUE(icon);
    const std::vector<IconImage>& images = icon->images;
    const auto file = writeIconFile(images);
    ASSERT_TRUE(file);

    IconLibrary reread = IconLibrary::fromBytes(*file, decoder);
    ASSERT_EQ(reread.count(), 1u);
    const auto again = reread.images({GroupKind::Icon, 0});
    ASSERT_TRUE(again);
    ASSERT_EQ(again->images.size(), images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& read = again->images[i];
        EXPECT_EQ(read.bytes, images[i].bytes) << i;
        EXPECT_EQ(read.entry.pixelWidth(), images[i].entry.pixelWidth()) << i;
        EXPECT_EQ(read.entry.bitCount, images[i].entry.bitCount) << i;
        EXPECT_EQ(read.entry.bytesInResource, images[i].bytes.size()) << i;
    }
    const auto before = original.largeIcon(0);
    const auto after = reread.largeIcon(0);
    ASSERT_TRUE(before && after);
    EXPECT_EQ(after->pixels, before->pixels);
    EXPECT_FALSE(writeIconFile({}));
}

// A directory entry whose byte count disagrees with its resource: the
// resource's own bytes are copied, and the new entry counts those.
TEST_F(WholeIcon, byteCountsComeFromTheImagesNotFromTheGroup) {
    GroupResource group = mixedIcon();
    group.images[1].entry.bytesInResource = 0xFFFFFF; // claims far more than it holds
    IconLibrary library = IconLibrary::fromBytes(test::buildPe({group}), decoder);
    const auto images = library.images({GroupKind::Icon, 0});
    ASSERT_TRUE(images);
    EXPECT_EQ(images->images[1].bytes, group.images[1].bytes);
    const auto file = writeIconFile(images->images);
    ASSERT_TRUE(file);
    IconLibrary reread = IconLibrary::fromBytes(*file, decoder);
    EXPECT_EQ(reread.images({GroupKind::Icon, 0})->images.at(1).bytes, group.images[1].bytes);
}

TEST_F(WholeIcon, imagesDecodeAtTheirNaturalSizeWithTheirAlpha) {
    IconLibrary library = IconLibrary::fromBytes(test::buildPe({mixedIcon()}), decoder);
    const auto images = library.images({GroupKind::Icon, 0});
    ASSERT_TRUE(images);
    struct Row {
        std::size_t image;
        int size;
        std::uint32_t centre;
    };
    for (const Row& row :
         {Row{0, 16, 0xFFFF0000}, Row{1, 32, 0xFF00FF00}, Row{2, 256, 0x800000FF}}) {
        const auto decoded = library.decode(images->images[row.image]);
        ASSERT_TRUE(decoded) << row.image;
        EXPECT_EQ(decoded->width, row.size);
        EXPECT_EQ(decoded->height, row.size);
        EXPECT_TRUE(decoded->hasAlpha);
        EXPECT_TRUE(decoded->mask.empty());
        EXPECT_EQ(decoded->pixel(row.size / 2, row.size / 2), row.centre) << row.image;
    }
    // A truncated image doesn't decode, whatever its directory says.
    IconImage cut = images->images[1];
    cut.bytes.resize(cut.bytes.size() / 2);
    EXPECT_FALSE(library.decode(cut));
}

// Old icons hide pixels under the mask and invert the background with others.
TEST(AlphaChannel, maskedPixelsBecomeClearAndInvertingOnesBlackAsBrightAsTheyAre) {
    IconBitmap image;
    image.width = 5;
    image.height = 1;
    image.pixels = {0x123456, 0x000000, 0xFFFFFF, 0x040404, 0xFF0000};
    image.mask = {0, 1, 1, 1, 1};
    const IconBitmap alpha = withAlphaChannel(image);
    EXPECT_TRUE(alpha.hasAlpha);
    EXPECT_TRUE(alpha.mask.empty());
    EXPECT_EQ(alpha.pixels, (std::vector<std::uint32_t>{0xFF123456, 0x00000000, 0xFF000000,
                                                        0x04000000, 0xFF000000}));
    // An image with its own alpha keeps it.
    IconBitmap own = image;
    own.hasAlpha = true;
    own.pixels = {0x80FFFFFF, 0, 0, 0, 0};
    EXPECT_EQ(withAlphaChannel(own).pixels, own.pixels);
}

TEST_F(WholeIcon, aOneBitIconWithInvertingPixelsDecodesAsItLooksOnWhite) {
    test::DibDescription description;
    description.width = 2;
    description.height = 1;
    description.bitCount = 1;
    description.palette = {0x000000, 0xFFFFFF};
    description.pixels = {1, 0}; // white, black
    description.mask = {1, 1};   // both under the mask: white inverts, black is clear
    IconImage image{test::groupEntry(2, 1, 1, 0), test::encodeDib(description)};
    IconLibrary library = IconLibrary::fromBytes({}, decoder);
    const auto decoded = library.decode(image);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixels, (std::vector<std::uint32_t>{0xFF000000, 0x00000000}));
}

} // namespace
} // namespace orvu
