// Cursors saved as files: a .cur that loses nothing, an .ani exactly as
// stored, and a PNG that keeps the hotspot.

#include "export/icon_export.h"
#include "export/save_format.h"
#include "png/default_decoder.h"
#include "support/icon_builders.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

using test::ByteVector;
using test::GroupResource;
using test::GroupType;
using test::StoredImage;

StoredImage cursorImage(int size, int bitCount, std::uint32_t rgb, Hotspot hotspot) {
    StoredImage image{test::groupEntry(size, size, bitCount, 0),
                      test::solidDib(size, bitCount, rgb)};
    image.entry.hotspot = hotspot;
    return image;
}

std::vector<StoredImage> twoImages() {
    return {cursorImage(48, 32, 0x123456, {40, 2}), cursorImage(32, 1, 0xFFFFFF, {-2, 31})};
}

GroupResource group(GroupType type, std::vector<StoredImage> images = {}, ByteVector data = {}) {
    GroupResource result;
    result.name = std::uint16_t{3};
    result.type = type;
    result.images = std::move(images);
    result.animation = std::move(data);
    return result;
}

// The images of the file's one cursor, as bytes and hotspots.
std::vector<std::pair<ByteVector, Hotspot>> cursorImages(const ByteVector& file) {
    IconLibrary library = IconLibrary::fromBytes(file, nullptr);
    std::vector<std::pair<ByteVector, Hotspot>> result;
    const auto images = library.images({GroupKind::Cursor, 0});
    if (!images)
        return result;
    for (const IconImage& image : images->images)
        result.emplace_back(image.bytes, image.entry.hotspot.value_or(Hotspot{7777, 7777}));
    return result;
}

TEST(CursorExport, aCursorFileKeepsEveryImageByteForByteWithItsHotspot) {
    const std::vector<std::pair<const char*, ByteVector>> sources = {
        {"pe", test::buildPe({group(GroupType::Cursor, twoImages())})},
        // An NE file stores each resource padded to its alignment unit: 1 byte here.
        {"ne", test::buildNe({group(GroupType::Cursor, twoImages())}, 0)},
        {"cur", test::buildCursorFile(twoImages())},
    };
    for (const auto& [name, file] : sources) {
        SCOPED_TRACE(name);
        IconLibrary library = IconLibrary::fromBytes(file, nullptr);
        const auto saved = groupFileOf(library, {GroupKind::Cursor, 0});
        ASSERT_TRUE(saved);
        EXPECT_TRUE(saved->missing.empty());
        const auto images = cursorImages(saved->bytes);
        ASSERT_EQ(images.size(), 2u);
        EXPECT_EQ(images[0], std::make_pair(twoImages()[0].bytes, Hotspot{40, 2}));
        EXPECT_EQ(images[1].first, twoImages()[1].bytes);
        EXPECT_EQ(images[1].second, (Hotspot{0xFFFE, 31})); // a cursor file's hotspot is unsigned
        // The copy shows what the original shows.
        IconLibrary copy = IconLibrary::fromBytes(saved->bytes, nullptr);
        const auto original = library.cursorAt({GroupKind::Cursor, 0}, 32);
        const auto again = copy.cursorAt({GroupKind::Cursor, 0}, 32);
        ASSERT_TRUE(original && again);
        EXPECT_EQ(again->bitmap.pixels, original->bitmap.pixels);
        // A cursor file's hotspot is unsigned: a negative one keeps its 16 bits.
        EXPECT_EQ(again->hotspot.x, original->hotspot.x & 0xFFFF);
        EXPECT_EQ(again->hotspot.y, original->hotspot.y & 0xFFFF);
        EXPECT_EQ(extensionOf(wholeFormatOf(GroupKind::Cursor)), ".cur");
    }
}

TEST(CursorExport, anAnimatedCursorIsSavedExactlyAsStored) {
    const ByteVector ani = test::buildAnimation(
        {.frames = {test::buildCursorFile(twoImages()), test::buildCursorFile({twoImages()[1]})},
         .sequence = {1, 0, 1},
         .rates = {3, 4, 5}});
    for (const ByteVector& file :
         {ani, test::buildPe({group(GroupType::AnimatedCursor, {}, ani)})}) {
        IconLibrary library = IconLibrary::fromBytes(file, nullptr);
        const auto saved = groupFileOf(library, {GroupKind::Animated, 0});
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->bytes, ani);
    }
}

// The text chunks of a PNG file, keyword and text.
std::vector<std::pair<std::string, std::string>> textsOf(const ByteVector& png) {
    std::vector<std::pair<std::string, std::string>> texts;
    const ByteView view(png);
    for (std::uint64_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = *view.u32BigEndian(at);
        const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               png.begin() + static_cast<std::ptrdiff_t>(at + 8));
        if (type == "tEXt") {
            const std::string data(png.begin() + static_cast<std::ptrdiff_t>(at + 8),
                                   png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
            const std::size_t nul = data.find('\0');
            texts.emplace_back(data.substr(0, nul), data.substr(nul + 1));
        }
        at += 12 + std::uint64_t{length};
    }
    return texts;
}

TEST(CursorExport, aPngOfACursorImageKeepsItsHotspotAsText) {
    const ByteVector file = test::buildPe(
        {group(GroupType::Icon, {cursorImage(32, 32, 0xFF0000, {1, 1})}),
         group(GroupType::Cursor, twoImages()),
         group(GroupType::AnimatedCursor, {},
               test::buildAnimation({.frames = {test::buildCursorFile(twoImages())}}))});
    struct Case {
        GroupRef group;
        std::optional<int> size;
        std::vector<std::pair<std::string, std::string>> texts;
        int width;
    };
    const Case cases[] = {
        {{GroupKind::Cursor, 0}, std::nullopt, {{"hotspot", "40,2"}}, 48},
        {{GroupKind::Cursor, 0}, 32, {{"hotspot", "-2,31"}}, 32},
        {{GroupKind::Animated, 0}, std::nullopt, {{"hotspot", "40,2"}}, 48},
        {{GroupKind::Animated, 0}, 16, {{"hotspot", "65534,31"}}, 32},
        {{GroupKind::Icon, 0}, std::nullopt, {}, 32},
    };
    IconLibrary library = IconLibrary::fromBytes(file, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(kindName(c.group.kind)) + " at " +
                     std::to_string(c.size.value_or(0)));
        const auto png = pngOf(library, c.group, c.size);
        ASSERT_TRUE(png);
        EXPECT_TRUE(isWholePng(ByteView(png->bytes)));
        EXPECT_EQ(textsOf(png->bytes), c.texts);
        const auto decoded = defaultPngDecoder()->decode(ByteView(png->bytes));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->width, c.width);
    }
}

} // namespace
} // namespace orvu
