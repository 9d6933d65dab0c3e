// Choosing, decoding, fitting and drawing icon images.

#include "icons/dib_decoder.h"
#include "icons/icon_at_size.h"
#include "icons/icon_drawing.h"
#include "icons/icon_image.h"
#include "icons/icon_scaling.h"
#include "icons/image_choice.h"
#include "support/icon_builders.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

using test::ByteVector;
using test::DibDescription;

// The image Windows shows at 32 x 32 of an icon of these entries.
std::optional<std::size_t> chooseImage(std::initializer_list<GroupEntry> entries) {
    std::vector<ChoiceKey> keys;
    for (const GroupEntry& entry : entries)
        keys.push_back(*choiceKey(GroupKind::Icon, entry, {}));
    return chooseImageOfKind(GroupKind::Icon, keys, LargeIconSize);
}

TEST(IconChoice, closestSizeThenClosestDepthThenFirst) {
    using test::groupEntry;
    EXPECT_EQ(chooseImage(
                  {groupEntry(16, 16, 32, 1), groupEntry(32, 32, 4, 2), groupEntry(48, 48, 32, 3)}),
              1u);
    EXPECT_EQ(chooseImage(
                  {groupEntry(32, 32, 4, 1), groupEntry(32, 32, 8, 2), groupEntry(32, 32, 24, 3)}),
              2u);
    // 16 and 48 are equally far from 32: depth decides, then order.
    EXPECT_EQ(chooseImage({groupEntry(16, 16, 8, 1), groupEntry(48, 48, 32, 2)}), 1u);
    EXPECT_EQ(chooseImage({groupEntry(48, 48, 8, 1), groupEntry(16, 16, 8, 2)}), 0u);
    // The pair of distances, not just their sum, must match the first best entry.
    EXPECT_EQ(chooseImage(
                  {groupEntry(40, 32, 4, 1), groupEntry(32, 40, 32, 2), groupEntry(40, 32, 8, 3)}),
              2u);
    // Equally near in sum: the first entry's pair of distances decides.
    EXPECT_EQ(chooseImage({groupEntry(32, 40, 32, 1), groupEntry(40, 32, 32, 2)}), 0u);
    // Sides as far from 32 as a PNG's header can claim are farthest of all.
    EXPECT_EQ(chooseImageOfKind(GroupKind::Icon, {{0x7FFFFFFF, 0x7FFFFFFF, 32}, {48, 48, 32}}, 32),
              1u);
}

TEST(IconChoice, largestIsTheMostPixelsThenTheDeepestThenTheFirst) {
    EXPECT_EQ(largestImage({{48, 48, 8}, {32, 32, 32}, {48, 48, 32}, {48, 48, 32}}), 2u);
}

// A thumbnail of a side tries the smallest image that covers it first, then
// the larger ones, then those that don't cover it, largest first.
TEST(IconChoice, thumbnailTriesImagesFromTheSmallestThatCoversIt) {
    struct Case {
        const char* what;
        int size;
        std::vector<ImageSize> images;
        std::vector<std::size_t> order;
    };
    const std::vector<Case> cases = {
        {"sides",
         48,
         {{32, 32, 32}, {256, 256, 32}, {48, 48, 32}, {64, 64, 32}, {16, 16, 32}, {32, 32, 32}},
         {2, 3, 1, 0, 5, 4}},
        {"one side, then the most pixels, then the deepest",
         64,
         {{64, 32, 32}, {64, 64, 8}, {64, 64, 32}},
         {2, 1, 0}},
        {"sides as large as a cursor's directory claims",
         256,
         {{16, 16, 32}, {0xFFFF, 1, 0}, {0xFFFF, 0xFFFF, 0}},
         {2, 1, 0}},
        {"sides as large as a PNG's header claims",
         256,
         {{0x7FFFFFFF, 1, 32}, {0x7FFFFFFF, 0x7FFFFFFF, 32}},
         {1, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pictureOrder(c.images, c.size), c.order) << c.what;
}

// Icons whose images are each of one colour, drawn at sizes other than 32:
// the colour shows which image Windows chooses where sizes or depths tie.
TEST(IconChoice, eachSizeDrawsTheImageWindowsChoosesForIt) {
    struct Image {
        int width;
        int height;
        int bits;
        std::uint32_t rgb;
    };
    struct Case {
        int size;
        std::vector<Image> images;
        std::uint32_t drawn;
    };
    constexpr std::uint32_t Red = 0xFF0000;
    constexpr std::uint32_t Green = 0x00FF00;
    constexpr std::uint32_t Blue = 0x0000FF;
    const std::vector<Case> cases = {
        // 32 and 64 are equally far from 48: the deeper colour, then the first.
        {48, {{32, 32, 32, Red}, {64, 64, 32, Green}}, Red},
        {48, {{32, 32, 8, Red}, {64, 64, 32, Green}}, Green},
        {24, {{16, 16, 32, Green}, {32, 32, 32, Red}}, Green},
        // 48 is nearer 64 than 256 is, whatever the order.
        {64, {{256, 256, 32, Red}, {48, 48, 32, Green}}, Green},
        {16, {{32, 32, 32, Red}, {16, 16, 4, Green}, {16, 16, 32, Blue}}, Blue},
        // The first nearest image fixes the distance of each side.
        {48, {{40, 48, 4, Red}, {48, 40, 32, Green}, {40, 48, 8, Blue}}, Blue},
    };
    for (const Case& c : cases) {
        std::vector<test::StoredImage> images;
        for (const Image& image : c.images) {
            DibDescription dib;
            dib.width = image.width;
            dib.height = image.height;
            dib.bitCount = image.bits;
            if (image.bits <= 8)
                dib.palette = {image.rgb};
            dib.pixels.assign(static_cast<std::size_t>(image.width * image.height),
                              image.bits <= 8 ? 0 : 0xFF000000u | image.rgb);
            images.push_back(
                {test::groupEntry(image.width, image.height, image.bits, 0), test::encodeDib(dib)});
        }
        IconLibrary library = IconLibrary::fromBytes(test::buildIconFile(images), nullptr);
        const auto drawn = drawIconAt(library, 0, c.size, 0xFFFFFF);
        ASSERT_TRUE(drawn) << c.size;
        EXPECT_EQ(drawn->width, c.size);
        EXPECT_EQ(drawn->height, c.size);
        EXPECT_EQ(drawn->pixel(c.size / 2, c.size / 2), c.drawn)
            << "at " << c.size << ", the first image " << c.images[0].width;
    }
    IconLibrary library = IconLibrary::fromBytes(
        test::buildIconFile({{test::groupEntry(32, 32, 32, 0), test::solidDib(32, 32, Red)}}),
        nullptr);
    for (int size : {-1, 0, MaxShownSize + 1})
        EXPECT_FALSE(drawIconAt(library, 0, size, 0xFFFFFF)) << size;
}

// An image is what its own header says; only a PNG, whose header gives no
// depth in the directory's sense, keeps the depth its entry lists where an
// image can have that one.
TEST(IconChoice, anImageIsListedAsItsHeaderSays) {
    const ByteVector png = test::iconListingPngByItsHeader().images[3].bytes;
    const ByteVector dib = test::solidDib(32, 32, 0xFF0000);
    struct Case {
        const ByteVector& image;
        int listedBits;
        ImageSize own;
    };
    const Case cases[] = {
        {png, 1, {256, 256, 1}},      {png, 4, {256, 256, 4}},   {png, 8, {256, 256, 8}},
        {png, 16, {256, 256, 16}},    {png, 24, {256, 256, 24}}, {png, 32, {256, 256, 32}},
        {png, 0, {256, 256, 32}},     {png, 2, {256, 256, 32}},  {png, 15, {256, 256, 32}},
        {png, 21060, {256, 256, 32}}, {dib, 8, {32, 32, 32}},    {dib, 0, {32, 32, 32}},
    };
    for (const Case& c : cases) {
        const GroupEntry entry = test::groupEntry(0, 0, c.listedBits, 1);
        EXPECT_EQ(ownSize(GroupKind::Icon, entry, ByteView(c.image)), c.own)
            << (&c.image == &png ? "PNG" : "DIB") << " listed at " << c.listedBits;
    }
}

TEST(IconChoice, zeroWidthAndHeightMean256) {
    using test::groupEntry;
    GroupEntry huge = groupEntry(0, 0, 32, 1);
    EXPECT_EQ(huge.pixelWidth(), 256);
    EXPECT_EQ(chooseImage({huge, groupEntry(64, 64, 32, 2)}), 1u);
    GroupEntry flat = groupEntry(0, 32, 32, 3);
    EXPECT_EQ(flat.pixelWidth(), 0);
    EXPECT_FALSE(chooseImage({}));
}

TEST(DibDecoder, decodesEveryDepthThroughItsPalette) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        const auto bitmap = decodeDib(ByteView(test::solidDib(32, bits, 0xFF8400)));
        ASSERT_TRUE(bitmap) << bits << " bpp";
        EXPECT_EQ(bitmap->width, 32);
        EXPECT_EQ(bitmap->height, 32);
        EXPECT_EQ(bitmap->pixel(31, 31) & 0xFFFFFF, 0xFF8400u) << bits << " bpp";
        EXPECT_EQ(bitmap->hasAlpha, bits == 32);
    }
}

TEST(DibDecoder, onlyInfoAndCoreHeadersMakeAnImage) {
    const ByteVector plain = test::solidDib(32, 24, 0x123456);
    ASSERT_TRUE(decodeDib(ByteView(plain)));
    // The same image behind a BITMAPV4HEADER, a BITMAPV5HEADER and a 64-byte
    // header, as Windows sees it: not an icon image.
    for (std::uint32_t size : {108u, 124u, 64u}) {
        ByteVector widened = plain;
        test::putU32(widened, 0, size);
        widened.insert(widened.begin() + 40, size - 40, 0);
        EXPECT_FALSE(decodeDib(ByteView(widened))) << size;
    }
}

TEST(DibDecoder, rowsAreStoredBottomUpAndMaskBitsAreRead) {
    DibDescription dib;
    dib.width = 3;
    dib.height = 2;
    dib.bitCount = 24;
    dib.pixels = {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112};
    dib.mask = {1, 0, 0, 0, 0, 1};
    const auto bitmap = decodeDib(ByteView(test::encodeDib(dib)));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->pixel(0, 0), 0x010203u);
    EXPECT_EQ(bitmap->pixel(2, 1), 0x101112u);
    EXPECT_TRUE(bitmap->masked(0, 0));
    EXPECT_FALSE(bitmap->masked(1, 0));
    EXPECT_TRUE(bitmap->masked(2, 1));
}

TEST(DibDecoder, palettedPixelsTakeTheHighBitsOfAByteFirst) {
    for (int bits : {1, 4}) {
        DibDescription dib;
        dib.width = 2;
        dib.height = 1;
        dib.bitCount = bits;
        dib.palette = {0x112233, 0x445566};
        dib.pixels = {1, 0};
        const auto bitmap = decodeDib(ByteView(test::encodeDib(dib)));
        ASSERT_TRUE(bitmap) << bits << " bpp";
        EXPECT_EQ(bitmap->pixel(0, 0), 0x445566u) << bits << " bpp";
        EXPECT_EQ(bitmap->pixel(1, 0), 0x112233u) << bits << " bpp";
    }
}

TEST(DibDecoder, sixteenBitsWidenFiveBitChannelsLikeWindows) {
    DibDescription dib;
    dib.width = 1;
    dib.height = 1;
    dib.bitCount = 16;
    dib.pixels = {31u << 10 | 16u << 5 | 1u};
    const auto bitmap = decodeDib(ByteView(test::encodeDib(dib)));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->pixel(0, 0), 0xFF8408u);
}

TEST(DibDecoder, missingMaskMeansOpaqueButMissingColourRowsAreInvalid) {
    DibDescription dib;
    dib.width = 8;
    dib.height = 8;
    dib.bitCount = 8;
    dib.palette = {0x000000, 0x123456};
    dib.pixels.assign(64, 1);
    dib.withMask = false;
    const ByteVector noMask = test::encodeDib(dib);
    const auto opaque = decodeDib(ByteView(noMask));
    ASSERT_TRUE(opaque);
    EXPECT_TRUE(opaque->mask.empty());
    EXPECT_EQ(opaque->pixel(3, 3), 0x123456u);

    const ByteVector shortColour(noMask.begin(), noMask.end() - 1);
    EXPECT_FALSE(decodeDib(ByteView(shortColour)));
}

TEST(DibDecoder, refusesHeadersThatMakeNoImage) {
    const ByteVector good = test::solidDib(32, 8, 0x808080);
    auto withField = [&](std::uint64_t at, std::uint32_t value, bool wide) {
        ByteVector bytes = good;
        if (wide)
            test::putU32(bytes, at, value);
        else
            test::putU16(bytes, at, static_cast<std::uint16_t>(value));
        return decodeDib(ByteView(bytes));
    };
    for (std::uint32_t bits : {0u, 2u, 3u, 7u, 64u})
        EXPECT_FALSE(withField(14, bits, false)) << bits << " bpp";
    EXPECT_FALSE(withField(4, 0, true));           // width 0
    EXPECT_FALSE(withField(8, 0, true));           // height 0
    EXPECT_FALSE(withField(8, 1, true));           // height 1: no row once halved
    EXPECT_FALSE(withField(4, 0xFFFFFFFFu, true)); // negative width
    EXPECT_FALSE(withField(4, 65535, true));       // wider than any icon
    EXPECT_FALSE(withField(8, 2 * 65535, true));
    EXPECT_FALSE(withField(16, 1, true)); // run-length compression
    EXPECT_FALSE(withField(0, 39, true)); // unknown header size
    EXPECT_FALSE(decodeDib(ByteView()));
}

TEST(DibDecoder, coloursUsedLimitsThePaletteAndMissingIndicesDrawBlack) {
    DibDescription dib;
    dib.width = 2;
    dib.height = 1;
    dib.bitCount = 8;
    dib.palette = {0xAABBCC};
    dib.pixels = {0, 200};
    const auto bitmap = decodeDib(ByteView(test::encodeDib(dib)));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->pixel(0, 0), 0xAABBCCu);
    EXPECT_EQ(bitmap->pixel(1, 0), 0u);
}

TEST(DibDecoder, coreHeaderWithThreeBytePalette) {
    ByteVector bytes = {12, 0, 0, 0, 1, 0, 2, 0, 1, 0, 1, 0};
    bytes.insert(bytes.end(), {0x10, 0x20, 0x30, 0x40, 0x50, 0x60}); // two RGBTRIPLEs
    bytes.insert(bytes.end(), {0x80, 0, 0, 0});                      // colour row: index 1
    bytes.insert(bytes.end(), {0x00, 0, 0, 0});                      // mask row
    const auto bitmap = decodeDib(ByteView(bytes));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->pixel(0, 0), 0x605040u);
}

TEST(IconDrawing, maskKeepsOrInvertsTheBackgroundAndClearBitsShowTheColour) {
    IconBitmap icon;
    icon.width = 3;
    icon.height = 1;
    icon.pixels = {0x000000, 0x040404, 0x336699};
    icon.mask = {1, 1, 0};
    Surface surface = Surface::filled(3, 1, 0xFFFFFF);
    drawIcon(surface, icon);
    EXPECT_EQ(surface.pixel(0, 0), 0xFFFFFFu); // transparent
    EXPECT_EQ(surface.pixel(1, 0), 0xFBFBFBu); // inverted by a near-black colour
    EXPECT_EQ(surface.pixel(2, 0), 0x336699u);
}

TEST(IconDrawing, alphaBlendsWithWindowsRounding) {
    IconBitmap icon;
    icon.width = 4;
    icon.height = 1;
    icon.hasAlpha = true;
    icon.pixels = {0x00FF0000, 0x80FF0000, 0xFF123456, 0x80010101};
    icon.mask = {0, 0, 1, 0}; // ignored for alpha images
    Surface surface = Surface::filled(4, 1, 0xFFFFFF);
    drawIcon(surface, icon);
    EXPECT_EQ(surface.pixel(0, 0), 0xFFFFFFu);
    // red: (255*128+127)/255 + (255*127+127)/255 = 128 + 127; others: 0 + 127
    EXPECT_EQ(surface.pixel(1, 0), 0xFF7F7Fu);
    EXPECT_EQ(surface.pixel(2, 0), 0x123456u);
    EXPECT_EQ(surface.pixel(3, 0), 0x808080u); // (1*128+127)/255 + 127: 128/255 rounds up
}

TEST(IconImage, allZeroAlphaFallsBackToTheMask) {
    DibDescription dib;
    dib.width = 2;
    dib.height = 1;
    dib.bitCount = 32;
    dib.pixels = {0x00000000, 0x00ABCDEF};
    dib.mask = {1, 0};
    const auto bitmap = decodeIconImage(ByteView(test::encodeDib(dib)), nullptr);
    ASSERT_TRUE(bitmap);
    EXPECT_FALSE(bitmap->hasAlpha);
    Surface surface = Surface::filled(2, 1, 0x102030);
    drawIcon(surface, *bitmap);
    EXPECT_EQ(surface.pixel(0, 0), 0x102030u);
    EXPECT_EQ(surface.pixel(1, 0), 0xABCDEFu);
}

class CountingPngDecoder : public PngDecoder {
public:
    Result<IconBitmap> decode(ByteView) const override {
        ++calls;
        IconBitmap bitmap;
        bitmap.width = 16;
        bitmap.height = 16;
        bitmap.pixels.assign(256, 0xFF00FF00);
        return bitmap;
    }
    mutable int calls = 0;
};

ByteVector pngHeader(std::uint32_t width, std::uint32_t height) {
    ByteVector bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                        0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    for (std::uint32_t value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    bytes.insert(bytes.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
    return bytes;
}

TEST(IconImage, hugePngIsRefusedBeforeItIsDecoded) {
    CountingPngDecoder png;
    EXPECT_FALSE(decodeIconImage(ByteView(pngHeader(65535, 65535)), &png));
    EXPECT_FALSE(decodeIconImage(ByteView(pngHeader(0, 16)), &png));
    EXPECT_EQ(png.calls, 0);
    const auto small = decodeIconImage(ByteView(pngHeader(16, 16)), &png);
    EXPECT_EQ(png.calls, 1);
    ASSERT_TRUE(small);
    EXPECT_TRUE(small->hasAlpha);
    EXPECT_FALSE(decodeIconImage(ByteView(pngHeader(16, 16)), nullptr));
}

TEST(IconImage, pngOfAnotherSizeThanItsHeaderIsRefused) {
    CountingPngDecoder png; // always answers 16 x 16
    EXPECT_FALSE(decodeIconImage(ByteView(pngHeader(32, 32)), &png));
}

IconBitmap checkerboard(int size, std::uint32_t a, std::uint32_t b) {
    IconBitmap bitmap;
    bitmap.width = size;
    bitmap.height = size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            bitmap.pixels.push_back((x + y) % 2 ? b : a);
    }
    return bitmap;
}

TEST(IconScaling, exactDoublingRepeatsEveryPixel) {
    const IconBitmap small = checkerboard(16, 0x112233, 0x445566);
    const IconBitmap large = fitIconToSize(small, 32, 32);
    ASSERT_EQ(large.width, 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(large.pixel(x, y), small.pixel(x / 2, y / 2));
    }
}

TEST(IconScaling, enlargingTakesThePixelUnderEachCentreAsWindowsDoes) {
    // Every source column and row a colour of its own.
    const auto striped = [](int width, int height) {
        IconBitmap bitmap;
        bitmap.width = width;
        bitmap.height = height;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                bitmap.pixels.push_back(static_cast<std::uint32_t>(x << 8 | y));
        }
        return bitmap;
    };
    const auto sources = [](const IconBitmap& large, bool columns) {
        std::vector<int> picked;
        for (int i = 0; i < (columns ? large.width : large.height); ++i) {
            const std::uint32_t pixel = columns ? large.pixel(i, 0) : large.pixel(0, i);
            picked.push_back(static_cast<int>(columns ? (pixel >> 8) & 0xFF : pixel & 0xFF));
        }
        return picked;
    };
    // What Windows draws: a 24-pixel row at 32 takes every third source pixel
    // twice, from the second on; a 32-pixel row at 48, whose second centre
    // falls on the edge between two source pixels, every second, from the first.
    const std::vector<int> from24 = {0,  1,  1,  2,  3,  4,  4,  5,  6,  7,  7,
                                     8,  9,  10, 10, 11, 12, 13, 13, 14, 15, 16,
                                     16, 17, 18, 19, 19, 20, 21, 22, 22, 23};
    std::vector<int> from32To48;
    for (int i = 0; i < 48; ++i)
        from32To48.push_back(2 * i / 3);
    const struct {
        int from;
        int to;
        const std::vector<int>& picked;
    } cases[] = {{24, 32, from24}, {32, 48, from32To48}};
    for (const auto& c : cases) {
        const IconBitmap large = fitIconToSize(striped(c.from, c.from), c.to, c.to);
        EXPECT_EQ(sources(large, true), c.picked) << c.from << " to " << c.to;
        EXPECT_EQ(sources(large, false), c.picked) << c.from << " to " << c.to;
    }
    // One axis enlarged while the other shrinks takes the same columns.
    const IconBitmap tall = fitIconToSize(striped(24, 40), 32, 32);
    EXPECT_EQ(sources(tall, true), from24);
}

TEST(IconScaling, shrinkingAveragesTheCoveredArea) {
    IconBitmap opaque = checkerboard(64, 0xFF000000, 0xFFFFFFFF);
    opaque.hasAlpha = true;
    const IconBitmap half = fitIconToSize(opaque, 32, 32);
    for (std::uint32_t pixel : half.pixels)
        ASSERT_EQ(pixel, 0xFF808080u); // (0 + 255) / 2, rounded
}

TEST(IconScaling, shrinkingAMaskedImageSoftensItsEdge) {
    IconBitmap masked = checkerboard(64, 0x000000, 0x0000FF);
    masked.mask.resize(masked.pixels.size());
    for (std::size_t i = 0; i < masked.pixels.size(); ++i)
        masked.mask[i] = masked.pixels[i] == 0 ? 1 : 0; // black pixels are transparent
    const IconBitmap half = fitIconToSize(masked, 32, 32);
    ASSERT_TRUE(half.hasAlpha);
    Surface surface = Surface::filled(32, 32, 0xFFFFFF);
    drawIcon(surface, half);
    EXPECT_EQ(surface.pixel(5, 5), 0x7F7FFFu); // half-opaque blue over white
}

TEST(IconScaling, invertingPixelsSurviveShrinking) {
    IconBitmap inverting = checkerboard(48, 0xFFFFFF, 0xFFFFFF);
    inverting.mask.assign(inverting.pixels.size(), 1);
    const IconBitmap fitted = fitIconToSize(inverting, 32, 32);
    Surface surface = Surface::filled(32, 32, 0x0000FF);
    drawIcon(surface, fitted);
    EXPECT_EQ(surface.pixel(10, 10), 0xFFFF00u);
}

} // namespace
} // namespace orvu
