// PNG decoding through Qt: its own size check, apart from the core's.

#include "png_writer.h"
#include "qt_png_decoder.h"
#include "reader_limits.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

std::vector<std::uint8_t> blankPng(std::uint32_t width, std::uint32_t height) {
    test::PngFormat format;
    format.width = width;
    format.height = height;
    return test::zeroPng(format);
}

TEST(QtPngDecoder, decodesUpToTheLargestSideAndRefusesMoreByItself) {
    const QtPngDecoder decoder;
    const auto side = static_cast<std::uint32_t>(limits::MaxImageSide);
    const auto largest = decoder.decode(ByteView(blankPng(side, 1)));
    ASSERT_TRUE(largest);
    EXPECT_EQ(largest->width, limits::MaxImageSide);
    EXPECT_EQ(largest->pixels.size(), static_cast<std::size_t>(side));
    // Images that Qt would decode without a second thought, refused before
    // Qt allocates anything for them.
    EXPECT_FALSE(decoder.decode(ByteView(blankPng(side + 1, 1))));
    EXPECT_FALSE(decoder.decode(ByteView(blankPng(1, side + 1))));
}

TEST(QtPngDecoder, headerClaimingTheLargestSizeAPngCanHaveIsRefused) {
    const QtPngDecoder decoder;
    test::PngFormat format;
    format.width = 0x7FFFFFFF;
    format.height = 0x7FFFFFFF;
    EXPECT_FALSE(decoder.decode(ByteView(test::zeroPng(format, 1 << 16))));
    format.width = 65535;
    format.height = 65535;
    EXPECT_FALSE(decoder.decode(ByteView(test::zeroPng(format, 1 << 16))));
}

TEST(QtPngDecoder, sixteenBitImageOfTheLargestSideIsDecoded) {
    test::PngFormat format;
    format.width = static_cast<std::uint32_t>(limits::MaxImageSide);
    format.height = static_cast<std::uint32_t>(limits::MaxImageSide);
    format.depth = 16;
    const auto image = QtPngDecoder().decode(ByteView(test::zeroPng(format)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->height, limits::MaxImageSide);
    EXPECT_EQ(image->pixel(1023, 1023), 0u);
}

} // namespace
} // namespace orvu
