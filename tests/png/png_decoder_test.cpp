// PNG decoding: each decoder's own size checks, what it makes of broken
// data, and the libpng decoder of the command-line tool giving the same
// pixels as Qt's, which the window uses.

#include "icons/limits.h"
#include "png/libpng_decoder.h"
#include "support/png_writer.h"

#ifdef ORVU_WITH_QT
#include "qt/qt_png_decoder.h"
#endif

#include <gtest/gtest.h>
#include <random>

namespace orvu {
namespace {

using Bytes8 = std::vector<std::uint8_t>;

Bytes8 blankPng(std::uint32_t width, std::uint32_t height) {
    test::PngFormat format;
    format.width = width;
    format.height = height;
    return test::zeroPng(format);
}

// Random samples in rows with valid filter bytes (0 to 4).
Bytes8 randomImageData(const test::PngFormat& format, std::mt19937& random) {
    Bytes8 raw;
    for (std::size_t length : test::pngRowLengths(format)) {
        raw.push_back(static_cast<std::uint8_t>(random() % 5));
        for (std::size_t i = 1; i < length; ++i)
            raw.push_back(static_cast<std::uint8_t>(random()));
    }
    return raw;
}

template <typename Decoder> class PngDecoderTest : public testing::Test {
protected:
    const Decoder decoder;
};

#ifdef ORVU_WITH_QT
using Decoders = testing::Types<LibpngDecoder, QtPngDecoder>;
#else
using Decoders = testing::Types<LibpngDecoder>;
#endif
TYPED_TEST_SUITE(PngDecoderTest, Decoders);

TYPED_TEST(PngDecoderTest, decodesUpToTheLargestSideAndRefusesMoreByItself) {
    const auto side = static_cast<std::uint32_t>(limits::MaxImageSide);
    const auto largest = this->decoder.decode(ByteView(blankPng(side, 1)));
    ASSERT_TRUE(largest);
    EXPECT_EQ(largest->width, limits::MaxImageSide);
    EXPECT_EQ(largest->pixels.size(), static_cast<std::size_t>(side));
    // Images that the library would decode without a second thought,
    // refused before it allocates anything for them.
    EXPECT_FALSE(this->decoder.decode(ByteView(blankPng(side + 1, 1))));
    EXPECT_FALSE(this->decoder.decode(ByteView(blankPng(1, side + 1))));
}

TYPED_TEST(PngDecoderTest, headerClaimingTheLargestSizeAPngCanHaveIsRefused) {
    test::PngFormat format;
    format.width = 0x7FFFFFFF;
    format.height = 0x7FFFFFFF;
    EXPECT_FALSE(this->decoder.decode(ByteView(test::zeroPng(format, 1 << 16))));
    format.width = 65535;
    format.height = 65535;
    EXPECT_FALSE(this->decoder.decode(ByteView(test::zeroPng(format, 1 << 16))));
}

TYPED_TEST(PngDecoderTest, sixteenBitImageOfTheLargestSideIsDecoded) {
    test::PngFormat format;
    format.width = static_cast<std::uint32_t>(limits::MaxImageSide);
    format.height = static_cast<std::uint32_t>(limits::MaxImageSide);
    format.depth = 16;
    const auto image = this->decoder.decode(ByteView(test::zeroPng(format)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->height, limits::MaxImageSide);
    EXPECT_EQ(image->pixel(1023, 1023), 0u);
}

TYPED_TEST(PngDecoderTest, imageCutShortOrDamagedIsRefused) {
    std::mt19937 random(7);
    test::PngFormat format;
    format.width = 9;
    format.height = 7;
    const Bytes8 png = test::encodePng(format, randomImageData(format, random));
    ASSERT_TRUE(this->decoder.decode(ByteView(png)));

    // Cut anywhere before the last byte of image data: the 12 bytes of the
    // IEND chunk and the 4 of the image data's CRC and 4 of its checksum
    // follow it.
    for (std::size_t length = 0; length < png.size() - 20; ++length) {
        const Bytes8 cut(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(this->decoder.decode(ByteView(cut))) << "cut at " << length;
    }
    Bytes8 badFilter = png;
    badFilter[8 + 25 + 8 + 2 + 5] =
        5; // the first row's filter byte, past the zlib and block headers
    EXPECT_FALSE(this->decoder.decode(ByteView(badFilter)));
    Bytes8 badCrc = png;
    badCrc[8 + 8 + 13] ^= 1; // the header chunk's CRC
    EXPECT_FALSE(this->decoder.decode(ByteView(badCrc)));
}

TEST(LibpngDecoder, pixelsAreUnpremultipliedArgbFromTheTopLeft) {
    const std::vector<std::uint32_t> pixels{0x80FF0000, 0x00123456, 0xFF00FF00, 0x400000FF};
    const auto image = LibpngDecoder().decode(ByteView(test::encodePng(2, 2, pixels)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->pixels, pixels);

    // Without an alpha channel every pixel is opaque; 16-bit samples are
    // rounded to the nearest 8-bit value.
    const auto opaque =
        LibpngDecoder().decode(ByteView(test::encodePng(2, 2, pixels, test::PngColours::Rgb)));
    ASSERT_TRUE(opaque);
    EXPECT_EQ(opaque->pixels,
              (std::vector<std::uint32_t>{0xFFFF0000, 0xFF123456, 0xFF00FF00, 0xFF0000FF}));
    test::PngFormat grey;
    grey.depth = 16;
    grey.colourType = 0;
    const auto rounded = LibpngDecoder().decode(ByteView(test::encodePng(grey, {0, 0x80, 0x80})));
    ASSERT_TRUE(rounded);
    EXPECT_EQ(rounded->pixels, (std::vector<std::uint32_t>{0xFF808080}));
}

#ifdef ORVU_WITH_QT
struct Layout {
    std::uint8_t colourType;
    std::uint8_t depth;
};

// What drawing shows of the pixels: the colour of a fully transparent pixel
// never shows (libpng keeps it, Qt makes it black).
std::vector<std::uint32_t> visible(std::vector<std::uint32_t> pixels) {
    for (std::uint32_t& pixel : pixels) {
        if ((pixel >> 24) == 0)
            pixel = 0;
    }
    return pixels;
}

std::string describe(const test::PngFormat& format) {
    return "colour type " + std::to_string(format.colourType) + ", " +
           std::to_string(format.depth) + " bits, " + std::to_string(format.width) + " x " +
           std::to_string(format.height) + (format.interlaced ? ", interlaced" : "") +
           (format.transparency.empty() ? "" : ", tRNS") +
           (format.extraChunks.empty() ? "" : ", gAMA");
}

TEST(PngDecoders, libpngGivesQtsPixelsForEveryLayout) {
    static constexpr Layout Layouts[] = {{0, 1}, {0, 2},  {0, 4},  {0, 8}, {0, 16},
                                         {2, 8}, {2, 16}, {3, 1},  {3, 2}, {3, 4},
                                         {3, 8}, {4, 8},  {4, 16}, {6, 8}, {6, 16}};
    std::mt19937 random(2002);
    int compared = 0;
    for (const Layout& layout : Layouts) {
        for (const bool interlaced : {false, true}) {
            for (const bool transparency : {false, true}) {
                if (transparency && (layout.colourType == 4 || layout.colourType == 6))
                    continue; // these carry their own alpha; tRNS is not allowed
                if (transparency && layout.colourType == 2 && layout.depth == 16)
                    continue; // Qt gets these wrong: see the test below
                test::PngFormat format;
                format.colourType = layout.colourType;
                format.depth = layout.depth;
                format.width = 1 + random() % 37;
                format.height = 1 + random() % 23;
                format.interlaced = interlaced;
                const std::size_t paletteSize = std::size_t{1} << std::min<int>(layout.depth, 8);
                if (layout.colourType == 3) {
                    for (std::size_t i = 0; i < 3 * paletteSize; ++i)
                        format.palette.push_back(static_cast<std::uint8_t>(random()));
                }
                if (transparency && layout.colourType == 3) {
                    // Alpha values for the first half of the palette.
                    for (std::size_t i = 0; i < paletteSize / 2 + 1; ++i)
                        format.transparency.push_back(static_cast<std::uint8_t>(random()));
                } else if (transparency) {
                    // The one colour that is transparent, as 16-bit samples
                    // within the image's depth.
                    for (int i = 0; i < (layout.colourType == 2 ? 3 : 1); ++i) {
                        const auto sample = random() % (1u << layout.depth);
                        format.transparency.push_back(static_cast<std::uint8_t>(sample >> 8));
                        format.transparency.push_back(static_cast<std::uint8_t>(sample));
                    }
                }
                // A gamma other than the usual one: neither decoder corrects it.
                format.extraChunks = {{"gAMA", {0, 0, 0x75, 0x30}}};
                const Bytes8 png = test::encodePng(format, randomImageData(format, random));

                const auto ours = LibpngDecoder().decode(ByteView(png));
                const auto qts = QtPngDecoder().decode(ByteView(png));
                ASSERT_TRUE(ours) << describe(format);
                ASSERT_TRUE(qts) << describe(format);
                ASSERT_EQ(ours->width, qts->width) << describe(format);
                ASSERT_EQ(ours->height, qts->height) << describe(format);
                EXPECT_EQ(visible(ours->pixels), visible(qts->pixels)) << describe(format);
                ++compared;
            }
        }
    }
    EXPECT_EQ(compared, 2 * (15 + 10));
}

TEST(PngDecoders, sixteenBitColourWithATransparentColourIsReadCorrectlyByLibpng) {
    // Qt 6.4 shifts the channels of such images and loses their opacity.
    test::PngFormat format;
    format.colourType = 2;
    format.depth = 16;
    format.width = 2;
    format.transparency = {0, 1, 0, 2, 0, 3};
    const Bytes8 png = test::encodePng(format, {0, 0, 1, 0, 2, 0, 3, 0x80, 0, 0x40, 0, 0x20, 0});
    const auto image = LibpngDecoder().decode(ByteView(png));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0x00000000, 0xFF804020}));
}
#endif

} // namespace
} // namespace orvu
