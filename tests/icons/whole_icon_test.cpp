// The whole icon: every image of it described, decoded at its natural size,
// and written back as an .ico file without losing a byte.

#include "icons/icon_bitmap.h"
#include "icons/icon_file_writer.h"
#include "icons/icon_library.h"
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
        const auto icon = library.describe(row.k);
        ASSERT_TRUE(icon) << row.k;
        EXPECT_EQ(icon->index, row.k);
        EXPECT_EQ(icon->name, row.name);
        ASSERT_EQ(icon->images.size(), 3u);
        EXPECT_EQ(icon->large, std::optional<std::size_t>(1)); // the 32 x 32 one
    }
    const auto icon = library.describe(1);
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

TEST_F(WholeIcon, anImageTheFileLacksIsDescribedAsMissing) {
    GroupResource broken = mixedIcon();
    // A second directory entry naming an RT_ICON id that doesn't exist.
    broken.rawGroup = ByteVector{0, 0, 1, 0,  2,  0, 32, 32, 0, 0, 1, 0, 32, 0, 0, 0,  0,
                                 0, 1, 0, 16, 16, 0, 0,  1,  0, 4, 0, 0, 0,  0, 0, 99, 0};
    IconLibrary library = IconLibrary::fromBytes(test::buildPe({broken}), decoder);
    const auto icon = library.describe(0);
    ASSERT_TRUE(icon);
    ASSERT_EQ(icon->images.size(), 2u);
    EXPECT_EQ(icon->images[0].format, ImageFormat::Dib);
    EXPECT_EQ(icon->images[1].format, ImageFormat::Missing);
    EXPECT_EQ(icon->images[1].bytes, 0u);
    EXPECT_FALSE(library.images(0)); // so the whole icon can't be written
}

// What the executable stores is what the .ico holds, and it reads back the same.
TEST_F(WholeIcon, iconFileHoldsEveryImageByteForByteAndReadsBackTheSame) {
    IconLibrary original = IconLibrary::fromBytes(test::buildPe({mixedIcon()}), decoder);
    const auto images = original.images(0);
    ASSERT_TRUE(images);
    const auto file = writeIconFile(*images);
    ASSERT_TRUE(file);

    IconLibrary reread = IconLibrary::fromBytes(*file, decoder);
    ASSERT_EQ(reread.count(), 1u);
    const auto again = reread.images(0);
    ASSERT_TRUE(again);
    ASSERT_EQ(again->size(), images->size());
    for (std::size_t i = 0; i < images->size(); ++i) {
        EXPECT_EQ((*again)[i].bytes, (*images)[i].bytes) << i;
        EXPECT_EQ((*again)[i].entry.pixelWidth(), (*images)[i].entry.pixelWidth()) << i;
        EXPECT_EQ((*again)[i].entry.bitCount, (*images)[i].entry.bitCount) << i;
        EXPECT_EQ((*again)[i].entry.bytesInResource, (*images)[i].bytes.size()) << i;
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
    const auto images = library.images(0);
    ASSERT_TRUE(images);
    EXPECT_EQ((*images)[1].bytes, group.images[1].bytes);
    const auto file = writeIconFile(*images);
    ASSERT_TRUE(file);
    IconLibrary reread = IconLibrary::fromBytes(*file, decoder);
    EXPECT_EQ(reread.images(0)->at(1).bytes, group.images[1].bytes);
}

TEST_F(WholeIcon, imagesDecodeAtTheirNaturalSizeWithTheirAlpha) {
    IconLibrary library = IconLibrary::fromBytes(test::buildPe({mixedIcon()}), decoder);
    const auto images = library.images(0);
    ASSERT_TRUE(images);
    struct Row {
        std::size_t image;
        int size;
        std::uint32_t centre;
    };
    for (const Row& row :
         {Row{0, 16, 0xFFFF0000}, Row{1, 32, 0xFF00FF00}, Row{2, 256, 0x800000FF}}) {
        const auto decoded = library.decode((*images)[row.image]);
        ASSERT_TRUE(decoded) << row.image;
        EXPECT_EQ(decoded->width, row.size);
        EXPECT_EQ(decoded->height, row.size);
        EXPECT_TRUE(decoded->hasAlpha);
        EXPECT_TRUE(decoded->mask.empty());
        EXPECT_EQ(decoded->pixel(row.size / 2, row.size / 2), row.centre) << row.image;
    }
    // A truncated image doesn't decode, whatever its directory says.
    IconImage cut = (*images)[1];
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
