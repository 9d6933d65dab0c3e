// Cursors and animated cursors: read from PE and NE executables, .cur and
// .ani files, chosen and loaded as Windows loads them, and hostile files.

#include "icons/icon_library.h"
#include "icons/image_choice.h"
#include "icons/limits.h"
#include "png/default_decoder.h"
#include "support/icon_builders.h"
#include "support/png_writer.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace orvu {
std::ostream& operator<<(std::ostream& out, const AnimationStep& step);
namespace {

using test::AnimationDescription;
using test::ByteVector;
using test::GroupResource;
using test::GroupType;
using test::StoredImage;

constexpr std::uint32_t Red = 0xFF0000;
constexpr std::uint32_t Green = 0x00FF00;
constexpr std::uint32_t Blue = 0x0000FF;

StoredImage cursorImage(int size, int bitCount, std::uint32_t rgb, Hotspot hotspot) {
    StoredImage image{test::groupEntry(size, size, bitCount, 0),
                      test::solidDib(size, bitCount, rgb)};
    image.entry.hotspot = hotspot;
    return image;
}

GroupResource cursorGroup(std::uint16_t id, std::vector<StoredImage> images) {
    GroupResource group;
    group.name = id;
    group.images = std::move(images);
    group.type = GroupType::Cursor;
    return group;
}

GroupResource iconGroup(std::uint16_t id, std::uint32_t rgb) {
    GroupResource group;
    group.name = id;
    group.images = {{test::groupEntry(32, 32, 32, 0), test::solidDib(32, 32, rgb)}};
    return group;
}

GroupResource animatedGroup(std::uint16_t id, GroupType type, ByteVector animation) {
    GroupResource group;
    group.name = id;
    group.type = type;
    group.animation = std::move(animation);
    return group;
}

// A cursor file of one solid 32 x 32 image: a frame of an animation.
ByteVector frame(std::uint32_t rgb, Hotspot hotspot = {}) {
    return test::buildCursorFile({cursorImage(32, 32, rgb, hotspot)});
}

struct Shown {
    std::uint32_t colour = 0; // of the top-left pixel
    Hotspot hotspot;
    friend bool operator==(const Shown&, const Shown&) = default;
};

[[maybe_unused]] std::ostream& operator<<(std::ostream& out, const Shown& shown) {
    return out << std::hex << shown.colour << std::dec << " at (" << shown.hotspot.x << ", "
               << shown.hotspot.y << ")";
}

std::optional<Shown> shown(const Result<LoadedCursor>& cursor) {
    if (!cursor)
        return std::nullopt;
    EXPECT_EQ(cursor->bitmap.width, 32);
    EXPECT_EQ(cursor->bitmap.height, 32);
    return Shown{cursor->bitmap.pixel(0, 0) & 0xFFFFFF, cursor->hotspot};
}

std::optional<Shown> cursorAt32(IconLibrary& library, GroupKind kind, std::uint32_t k) {
    return shown(library.cursorAt({kind, k}, 32));
}

std::vector<GroupResource> iconsAndCursors() {
    return {
        iconGroup(1, Red), iconGroup(2, Green),
        cursorGroup(32512, {cursorImage(32, 1, 0xFFFFFF, {0, 0}), cursorImage(32, 32, Blue, {3, 9}),
                            cursorImage(48, 32, Green, {5, 13})}),
        cursorGroup(7, {cursorImage(16, 32, Red, {8, 8})})};
}

TEST(CursorReader, everyContainerCountsItsCursorsAfterItsIconsAndLoadsThemAsWindowsDoes) {
    struct Case {
        const char* name;
        ByteVector file;
        std::uint32_t icons;
        std::vector<Shown> cursors;
    };
    const Case cases[] = {
        {"pe", test::buildPe(iconsAndCursors()), 2, {{Red, {16, 16}}, {Blue, {3, 9}}}},
        {"pe32",
         test::buildPe(iconsAndCursors(), {.pe32Plus = false}),
         2,
         {{Red, {16, 16}}, {Blue, {3, 9}}}},
        {"ne", test::buildNe(iconsAndCursors()), 2, {{Blue, {3, 9}}, {Red, {16, 16}}}},
        {"cur",
         test::buildCursorFile(
             {cursorImage(48, 32, Green, {47, 0}), cursorImage(32, 4, Blue, {1, 2})}),
         0,
         {{Blue, {1, 2}}}},
        {"cursors only",
         test::buildPe({cursorGroup(1, {cursorImage(32, 8, Green, {31, 31})})}),
         0,
         {{Green, {31, 31}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IconLibrary library = IconLibrary::fromBytes(c.file, nullptr);
        EXPECT_FALSE(library.problem());
        EXPECT_EQ(library.count(), c.icons);
        ASSERT_EQ(library.count(GroupKind::Cursor), c.cursors.size());
        EXPECT_EQ(library.count(GroupKind::Animated), 0u);
        for (std::uint32_t k = 0; k < c.cursors.size(); ++k)
            EXPECT_EQ(cursorAt32(library, GroupKind::Cursor, k), c.cursors[k]) << "cursor " << k;
        EXPECT_FALSE(library.cursorAt({GroupKind::Cursor, library.count(GroupKind::Cursor)}, 32));
    }
}

TEST(CursorReader, iconsOfAFileWithCursorsAreReadAsBefore) {
    IconLibrary library = IconLibrary::fromBytes(test::buildPe(iconsAndCursors()), nullptr);
    ASSERT_EQ(library.count(), 2u);
    const auto icon = library.largeIcon(1);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->pixel(0, 0) & 0xFFFFFF, Green);
    const auto description = library.describe({GroupKind::Icon, 1});
    ASSERT_TRUE(description);
    EXPECT_EQ(description->kind, GroupKind::Icon);
    EXPECT_FALSE(description->images.at(0).hotspot);
}

// Windows' choice of a cursor's image at 32 x 32: the largest no larger than
// 32 either way, more bits breaking ties; else the smallest up to 255; else
// the first.
TEST(CursorChoice, takesTheLargestImageThatFitsThenTheSmallestThatDoesnt) {
    struct Case {
        const char* name;
        std::vector<ChoiceKey> keys;
        std::size_t chosen;
    };
    const Case cases[] = {
        {"the largest that fits", {{16, 16, 32}, {48, 48, 32}, {32, 32, 32}, {24, 24, 32}}, 2},
        {"more bits among equals", {{32, 32, 1}, {32, 32, 32}, {32, 32, 8}}, 1},
        {"the first among equals", {{32, 32, 32}, {32, 32, 32}}, 0},
        {"none fits: the smallest", {{64, 64, 32}, {48, 48, 1}, {256, 256, 32}}, 1},
        {"wider but lower doesn't replace", {{20, 30, 32}, {30, 20, 32}}, 0},
        {"none up to 255: the first", {{256, 256, 32}, {300, 300, 32}}, 0},
        {"no display depth preference", {{32, 32, 32}, {32, 32, 1}}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chooseImageOfKind(GroupKind::Cursor, c.keys, 32), c.chosen) << c.name;
}

// A cursor file's and a frame's keys come from the images' headers: a PNG
// claiming 2^31 - 1 pixels a side is as far from 32 as can be, and the good
// 32 x 32 image beside it is shown, described as the large one, and saved.
TEST(CursorChoice, anImageClaimingTheLargestSidesLosesToAGoodOne) {
    test::PngFormat claim;
    claim.width = 0x7FFFFFFF;
    claim.height = 0x7FFFFFFF;
    StoredImage huge{test::groupEntry(0, 0, 32, 0), test::zeroPng(claim, 0)};
    huge.entry.hotspot = Hotspot{1, 1};
    const std::vector<StoredImage> images = {huge, cursorImage(32, 32, Green, {3, 9})};
    const ByteVector cursorFile = test::buildCursorFile(images);
    struct Case {
        const char* name;
        ByteVector file;
        GroupKind kind;
    };
    const Case cases[] = {
        {"a cursor file", cursorFile, GroupKind::Cursor},
        {"a frame of an animated cursor", test::buildAnimation({.frames = {cursorFile}}),
         GroupKind::Animated},
    };
    for (const Case& c : cases) {
        IconLibrary library = IconLibrary::fromBytes(c.file, defaultPngDecoder());
        EXPECT_EQ(cursorAt32(library, c.kind, 0), (Shown{Green, {3, 9}})) << c.name;
        const auto description = library.describe({c.kind, 0});
        ASSERT_TRUE(description) << c.name;
        EXPECT_EQ(description->large, 1u) << c.name;
        const auto chosen = library.imageAt({c.kind, 0}, 48);
        ASSERT_TRUE(chosen) << c.name;
        EXPECT_EQ(chosen->bytes, images[1].bytes) << c.name;
    }
}

// A PNG in a cursor file counts the bits of its colour type, RGBA 32 and the
// others 24: among PNGs of one size, the RGBA one is shown.
TEST(CursorChoice, aPngCountsTheBitsOfItsColourType) {
    const auto png = [](std::uint8_t colourType) {
        test::PngFormat format;
        format.width = 32;
        format.height = 32;
        format.colourType = colourType;
        return StoredImage{test::groupEntry(0, 0, 32, 0), test::zeroPng(format)};
    };
    for (const std::uint8_t other : {0, 2, 4}) {
        for (const bool rgbaFirst : {false, true}) {
            const std::vector<StoredImage> images =
                rgbaFirst ? std::vector{png(6), png(other)} : std::vector{png(other), png(6)};
            IconLibrary library =
                IconLibrary::fromBytes(test::buildCursorFile(images), defaultPngDecoder());
            const auto description = library.describe({GroupKind::Cursor, 0});
            ASSERT_TRUE(description);
            EXPECT_EQ(description->large, rgbaFirst ? 0u : 1u) << int{other};
        }
    }
}

// The hotspot Windows reports scales with an image loaded at another size,
// rounding toward zero; a cursor file's choice looks at each image's own
// depth, not at the planes and bit count fields that hold its hotspot.
TEST(CursorReader, hotspotsAreReportedAsWindowsReportsThem) {
    struct Case {
        const char* name;
        ByteVector file;
        Shown expected;
    };
    const Case cases[] = {
        {"scaled down",
         test::buildPe({cursorGroup(1, {cursorImage(48, 32, Red, {23, 22})})}),
         {Red, {15, 14}}},
        {"scaled up",
         test::buildPe({cursorGroup(1, {cursorImage(16, 32, Red, {5, 15})})}),
         {Red, {10, 30}}},
        {"negative in an executable",
         test::buildPe({cursorGroup(1, {cursorImage(64, 32, Red, {-3, -1})})}),
         {Red, {-1, 0}}},
        {"outside the image",
         test::buildPe({cursorGroup(1, {cursorImage(32, 32, Red, {500, 40})})}),
         {Red, {500, 40}}},
        {"a cursor file's depth is the image's",
         test::buildCursorFile({cursorImage(32, 32, Green, {0, 32}),
                                cursorImage(32, 4, Blue, {1, 1}), cursorImage(32, 1, 0, {1, 40})}),
         {Green, {0, 32}}},
    };
    for (const Case& c : cases) {
        IconLibrary library = IconLibrary::fromBytes(c.file, nullptr);
        EXPECT_EQ(cursorAt32(library, GroupKind::Cursor, 0), c.expected) << c.name;
    }
}

TEST(CursorReader, describesEachCursorImageWithItsHotspot) {
    IconLibrary library = IconLibrary::fromBytes(test::buildPe(iconsAndCursors()), nullptr);
    const auto description = library.describe({GroupKind::Cursor, 0});
    ASSERT_TRUE(description);
    EXPECT_EQ(description->kind, GroupKind::Cursor);
    EXPECT_EQ(description->name.id, 7);
    ASSERT_EQ(description->images.size(), 1u);
    EXPECT_EQ(description->images[0].hotspot, (Hotspot{8, 8}));
    EXPECT_EQ(description->images[0].width, 16);
    EXPECT_EQ(description->images[0].bytes, test::solidDib(16, 32, Red).size());

    IconLibrary file =
        IconLibrary::fromBytes(test::buildCursorFile({cursorImage(48, 32, Green, {47, 3}),
                                                      cursorImage(32, 4, Blue, {1, 2})}),
                               nullptr);
    const auto cur = file.describe({GroupKind::Cursor, 0});
    ASSERT_TRUE(cur);
    ASSERT_EQ(cur->images.size(), 2u);
    EXPECT_EQ(cur->images[0].bitCount, 32);
    EXPECT_EQ(cur->images[0].hotspot, (Hotspot{47, 3}));
    EXPECT_EQ(cur->images[1].bitCount, 4);
    EXPECT_EQ(cur->large, 1u);
}

// Gives the resource whose data starts with `data` in a file that buildPe
// made the size `size`.
void cutResource(ByteVector& file, const ByteVector& data, std::uint32_t size) {
    const auto at = std::search(file.begin(), file.end(), data.begin(), data.end()) - file.begin();
    const test::PeOptions options;
    const auto rva =
        static_cast<std::uint32_t>(at) - options.sectionFileOffset + options.sectionRva;
    for (std::size_t entry = 0; entry + 8 <= file.size(); entry += 4) {
        if (*ByteView(file).u32(entry) == rva) {
            test::putU32(file, entry + 4, size);
            return;
        }
    }
    FAIL() << "no data entry for the resource";
}

// Damaged cursor data costs the cursor, never the icons or the program.
TEST(CursorReader, hostileCursorsFailAloneAndNothingCrashes) {
    // A cursor image shorter than its hotspot: its resource cut to 2 bytes.
    GroupResource shortImage = cursorGroup(1, {cursorImage(32, 32, Red, {0x5A5A, 0x5A5A})});
    shortImage.images[0].bytes = {};
    // An image that is a PNG after its hotspot.
    std::vector<std::uint32_t> pixels(32 * 32, 0xFF00FF00u);
    GroupResource png =
        cursorGroup(2, {{test::groupEntry(32, 32, 32, 0), test::encodePng(32, 32, pixels)}});
    png.images[0].entry.hotspot = Hotspot{4, 5};
    // A directory without entries.
    GroupResource empty = cursorGroup(3, {});
    ByteVector file = test::buildPe({iconGroup(1, Red), shortImage, png, empty});
    cutResource(file, {0x5A, 0x5A, 0x5A, 0x5A}, 2);
    IconLibrary library = IconLibrary::fromBytes(file, defaultPngDecoder());
    EXPECT_EQ(library.count(), 1u);
    EXPECT_TRUE(library.largeIcon(0));
    ASSERT_EQ(library.count(GroupKind::Cursor), 3u);
    EXPECT_FALSE(library.cursorAt({GroupKind::Cursor, 0}, 32));
    const auto images = library.images({GroupKind::Cursor, 0});
    ASSERT_TRUE(images);
    EXPECT_TRUE(images->images.empty());
    EXPECT_EQ(images->missing.size(), 1u);
    EXPECT_EQ(cursorAt32(library, GroupKind::Cursor, 1), (Shown{Green, {4, 5}}));
    EXPECT_FALSE(library.cursorAt({GroupKind::Cursor, 2}, 32));

    const ByteVector whole = test::buildPe(iconsAndCursors());
    for (std::size_t length = 0; length <= whole.size(); length += 7) {
        IconLibrary prefix = IconLibrary::fromBytes(
            ByteVector(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)),
            nullptr);
        for (std::uint32_t k = 0; k < prefix.count(GroupKind::Cursor); ++k) {
            (void)prefix.cursorAt({GroupKind::Cursor, k}, 32);
            (void)prefix.describe({GroupKind::Cursor, k});
        }
    }
}

std::vector<AnimationStep> stepsOf(const ByteVector& ani) {
    IconLibrary library = IconLibrary::fromBytes(ani, nullptr);
    const auto animation = library.animation(0);
    return animation ? animation->steps : std::vector<AnimationStep>{};
}

TEST(AnimatedCursorReader, stepsFollowTheSequenceAndRatesWithTheChecksHostileFilesNeed) {
    const std::vector<ByteVector> three{frame(Red), frame(Green), frame(Blue)};
    struct Case {
        const char* name;
        AnimationDescription ani;
        std::vector<AnimationStep> steps; // empty: no animation
    };
    const Case cases[] = {
        {"frames in order", {.frames = three}, {{0, 10}, {1, 10}, {2, 10}}},
        {"sequence and rates",
         {.frames = three, .sequence = {2, 0, 2, 1}, .rates = {5, 6, 7, 8}},
         {{2, 5}, {0, 6}, {2, 7}, {1, 8}}},
        {"a sequence naming a frame that doesn't exist shows the last",
         {.frames = three, .sequence = {0, 9}},
         {{0, 10}, {2, 10}}},
        {"fewer rates than steps", {.frames = three, .rates = {4}}, {{0, 4}, {1, 10}, {2, 10}}},
        {"anih claims more frames than the list holds",
         {.frames = three, .frameCount = 1000, .stepCount = 4},
         {{0, 10}, {1, 10}, {2, 10}, {2, 10}}},
        {"anih counts fewer frames than the list holds: the others don't play",
         {.frames = three, .sequence = {0, 2}, .frameCount = 2},
         {{0, 10}, {1, 10}}},
        {"anih claims more steps than the sequence holds",
         {.frames = three, .sequence = {1, 0}, .stepCount = 100},
         {{1, 10}, {0, 10}}},
        {"a sequence longer than anih's steps plays anih's steps",
         {.frames = three, .sequence = {2, 0, 1, 1}, .rates = {5, 6, 7, 8}, .stepCount = 2},
         {{2, 5}, {0, 6}}},
        {"a title before the header",
         {.frames = three, .titled = true},
         {{0, 10}, {1, 10}, {2, 10}}},
        {"a sequence and rates before the header",
         {.frames = three, .sequence = {2, 0}, .rates = {5, 6}, .headerLast = true},
         {{2, 5}, {0, 6}}},
        {"a sequence flag without a sequence: a step a frame",
         {.frames = three, .stepCount = 1, .flags = 3},
         {{0, 10}, {1, 10}, {2, 10}}},
        {"a sequence without its flag is not used",
         {.frames = three, .sequence = {2, 2}, .flags = 1},
         {{0, 10}, {1, 10}}},
        {"one frame stands still", {.frames = {frame(Red)}, .sequence = {0, 0, 0}}, {{0, 0}}},
        {"no steps: the first frame stands still", {.frames = three, .stepCount = 0}, {{0, 0}}},
        {"too many steps",
         {.frames = three, .stepCount = limits::MaxAnimationSteps + 1, .flags = 1},
         {}},
        {"a RIFF size past the file",
         {.frames = three, .riffSize = 0x7FFFFFF0},
         {{0, 10}, {1, 10}, {2, 10}}},
        {"frames stored as bitmaps", {.frames = three, .flags = 0}, {}},
        {"no frames", {.frames = {}, .frameCount = 1}, {}},
        {"as many frames as can be",
         {.frames = three, .frameCount = limits::MaxAnimationFrames, .stepCount = 3},
         {{0, 10}, {1, 10}, {2, 10}}},
        {"too many frames", {.frames = three, .frameCount = limits::MaxAnimationFrames + 1}, {}},
        {"a RIFF size short of the frames", {.frames = three, .riffSize = 60}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(stepsOf(test::buildAnimation(c.ani)), c.steps) << c.name;
}

TEST(AnimatedCursorReader, eachStepShowsItsFrameWithItsHotspot) {
    // The second frame's directory claims thousands of images it doesn't
    // hold, the third is a cursor of two sizes, the fourth is no icon at all.
    ByteVector hostile = frame(Green, {2, 3});
    test::putU16(hostile, 4, 0xFFFF);
    const ByteVector large = test::buildCursorFile({cursorImage(64, 32, Blue, {60, 2})});
    const ByteVector ani =
        test::buildAnimation({.frames = {frame(Red, {31, 0}), hostile, large, ByteVector(40, 0xEE)},
                              .sequence = {0, 1, 2, 3}});
    IconLibrary library = IconLibrary::fromBytes(ani, nullptr);
    EXPECT_EQ(library.count(), 0u);
    ASSERT_EQ(library.count(GroupKind::Animated), 1u);
    const auto animation = library.animation(0);
    ASSERT_TRUE(animation);
    ASSERT_EQ(animation->frames.size(), 4u);
    EXPECT_EQ(shown(library.stepAt(*animation, 0, 32)), (Shown{Red, {31, 0}}));
    EXPECT_EQ(shown(library.stepAt(*animation, 1, 32)), (Shown{Green, {2, 3}}));
    // Windows loads a frame at its entry's size and draws it at 32 x 32: the
    // hotspot stays the stored one.
    EXPECT_EQ(shown(library.stepAt(*animation, 2, 32)), (Shown{Blue, {60, 2}}));
    EXPECT_FALSE(library.stepAt(*animation, 3, 32));
    EXPECT_FALSE(library.stepAt(*animation, 4, 32));
    EXPECT_EQ(cursorAt32(library, GroupKind::Animated, 0), (Shown{Red, {31, 0}}));
    const auto description = library.describe({GroupKind::Animated, 0});
    ASSERT_TRUE(description);
    EXPECT_EQ(description->kind, GroupKind::Animated);
    EXPECT_EQ(description->images.at(0).hotspot, (Hotspot{31, 0}));
    // Frames loaded at the header's size: the hotspot scales with them.
    IconLibrary sized = IconLibrary::fromBytes(
        test::buildAnimation({.frames = {large, frame(Red)}, .width = 32, .height = 32}), nullptr);
    EXPECT_EQ(cursorAt32(sized, GroupKind::Animated, 0), (Shown{Blue, {30, 1}}));

    for (std::size_t length = 0; length <= ani.size(); ++length) {
        IconLibrary prefix = IconLibrary::fromBytes(
            ByteVector(ani.begin(), ani.begin() + static_cast<std::ptrdiff_t>(length)), nullptr);
        if (const auto cut = prefix.animation(0)) {
            for (std::size_t step = 0; step < cut->steps.size(); ++step)
                (void)prefix.stepAt(*cut, step, 32);
        }
    }
}

TEST(AnimatedCursorReader, executablesHoldAnimatedCursorsThenAnimatedIcons) {
    const ByteVector ani = test::buildAnimation({.frames = {frame(Red, {1, 2}), frame(Blue)}});
    const ByteVector other = test::buildAnimation({.frames = {frame(Green, {7, 7}), frame(Blue)}});
    IconLibrary library = IconLibrary::fromBytes(
        test::buildPe({iconGroup(1, Red), animatedGroup(5, GroupType::AnimatedIcon, other),
                       animatedGroup(9, GroupType::AnimatedCursor, ani)}),
        nullptr);
    EXPECT_EQ(library.count(), 1u);
    ASSERT_EQ(library.count(GroupKind::Animated), 2u);
    EXPECT_EQ(library.name({GroupKind::Animated, 0})->id, 9);
    EXPECT_EQ(cursorAt32(library, GroupKind::Animated, 0), (Shown{Red, {1, 2}}));
    // An animated icon's hotspot is in the middle.
    EXPECT_EQ(cursorAt32(library, GroupKind::Animated, 1), (Shown{Green, {16, 16}}));
    const auto stored = library.animation(0);
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored->bytes, ani);
}

} // namespace

std::ostream& operator<<(std::ostream& out, const AnimationStep& step) {
    return out << "{" << step.frame << ", " << step.jiffies << "}";
}

} // namespace orvu
