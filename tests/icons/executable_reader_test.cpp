// Reading icons out of PE and NE executables and icon files, well-formed and damaged.

#include "icons/icon_library.h"
#include "icons/limits.h"
#include "icons/pe_resources.h"
#include "support/icon_builders.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

using test::ByteVector;
using test::GroupResource;
using test::StoredImage;

constexpr std::uint32_t Red = 0xFF0000;
constexpr std::uint32_t Green = 0x00FF00;
constexpr std::uint32_t Blue = 0x0000FF;

StoredImage solidImage(int size, int bitCount, std::uint32_t rgb) {
    return {test::groupEntry(size, size, bitCount, 0), test::solidDib(size, bitCount, rgb)};
}

GroupResource group(std::uint16_t id, std::vector<StoredImage> images) {
    GroupResource result;
    result.name = id;
    result.images = std::move(images);
    return result;
}

// The colour of the large icon's top-left pixel, or nullopt for a null icon.
std::optional<std::uint32_t> largeColour(IconLibrary& library, std::uint32_t k) {
    const auto icon = library.largeIcon(k);
    if (!icon)
        return std::nullopt;
    EXPECT_EQ(icon->width, 32);
    EXPECT_EQ(icon->height, 32);
    return icon->pixel(0, 0) & 0xFFFFFF;
}

std::vector<GroupResource> threeIcons() {
    return {group(1, {solidImage(32, 32, Red)}), group(2, {solidImage(32, 8, Green)}),
            group(7, {solidImage(16, 4, Blue), solidImage(32, 4, Blue)})};
}

class PeFormats : public ::testing::TestWithParam<bool> {};

TEST_P(PeFormats, countsGroupsAndExtractsEachIconInOrder) {
    test::PeOptions options;
    options.pe32Plus = GetParam();
    const ByteVector file = test::buildPe(threeIcons(), options);
    IconLibrary library = IconLibrary::fromBytes(file, nullptr);
    ASSERT_EQ(library.count(), 3u);
    EXPECT_EQ(largeColour(library, 0), Red);
    EXPECT_EQ(largeColour(library, 1), Green);
    EXPECT_EQ(largeColour(library, 2), Blue);
    EXPECT_FALSE(library.largeIcon(3));
}

INSTANTIATE_TEST_SUITE_P(Executables, PeFormats, ::testing::Values(false, true),
                         [](const auto& param) { return param.param ? "pe32plus" : "pe32"; });

TEST(PeReader, namedGroupsComeFirstAndLanguagesCountOnce) {
    GroupResource named = group(0, {solidImage(32, 32, Blue)});
    named.name = std::u16string(u"MAINICON");
    GroupResource multilingual = group(5, {solidImage(32, 32, Green)});
    multilingual.languages = {0x0409, 0x0804, 0x0407};
    const ByteVector file =
        test::buildPe({group(3, {solidImage(32, 32, Red)}), multilingual, named});
    IconLibrary library = IconLibrary::fromBytes(file, nullptr);
    ASSERT_EQ(library.count(), 3u);
    EXPECT_EQ(largeColour(library, 0), Blue);
    EXPECT_EQ(largeColour(library, 1), Red);
    EXPECT_EQ(largeColour(library, 2), Green);
}

TEST(PeReader, resourceRootInsideItsSectionIsFound) {
    test::PeOptions options;
    options.rootOffsetInSection = 0x40;
    IconLibrary library = IconLibrary::fromBytes(test::buildPe(threeIcons(), options), nullptr);
    ASSERT_EQ(library.count(), 3u);
    EXPECT_EQ(largeColour(library, 2), Blue);
}

// Overlapping sections: the root is found through the first initialised
// section holding its first byte, a resource's data through the last
// section holding all of it.
TEST(PeSectionMap, rootAndDataFollowTheirOwnRules) {
    const SectionMap sections({{0x1000, 0x200, 0x400, false},
                               {0x1000, 0x800, 0x800, false},
                               {0x3000, 0x100, 0x000, true}});
    struct Case {
        std::uint32_t rva;
        std::uint32_t size; // 0: the root
        std::optional<std::uint64_t> offset;
    };
    const Case cases[] = {
        {0x1000, 0, 0x400},
        {0x1300, 0, 0xB00},
        {0x3000, 0, std::nullopt},
        {0x1000, 0x10, 0x800},
        {0x1100, 0x200, 0x900},
        {0x3000, 0x10, 0x000},
        {0x1000, 0x900, std::nullopt},
        {0x0FFF, 0x10, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto offset =
            c.size == 0 ? sections.resourceRoot(c.rva) : sections.resourceData(c.rva, c.size);
        EXPECT_EQ(offset, c.offset) << std::hex << c.rva << " " << c.size;
    }
}

TEST(PeReader, keepsEveryImageOfAnIconWithItsBytes) {
    const auto groups = threeIcons();
    IconLibrary library = IconLibrary::fromBytes(test::buildPe(groups), nullptr);
    const auto icon = library.images({GroupKind::Icon, 2});
    ASSERT_TRUE(icon);
    const std::vector<IconImage>& images = icon->images;
    ASSERT_EQ(images.size(), 2u);
    EXPECT_TRUE(icon->missing.empty());
    EXPECT_EQ(images[0].bytes, groups[2].images[0].bytes);
    EXPECT_EQ(images[1].bytes, groups[2].images[1].bytes);
    EXPECT_EQ(images[0].entry.pixelWidth(), 16);
    const auto chosen = library.imageAt({GroupKind::Icon, 2}, LargeIconSize);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->bytes, groups[2].images[1].bytes);
}

TEST(PeReader, groupNamingAMissingImageGivesANullIcon) {
    GroupResource broken = group(1, {solidImage(32, 32, Red)});
    ByteVector directory = {0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 99, 0};
    broken.rawGroup = directory;
    IconLibrary library = IconLibrary::fromBytes(
        test::buildPe({broken, group(2, {solidImage(32, 32, Green)})}), nullptr);
    ASSERT_EQ(library.count(), 2u);
    EXPECT_FALSE(library.largeIcon(0));
    EXPECT_EQ(largeColour(library, 1), Green);
}

TEST(PeReader, invalidGroupHeadersGiveNullIcons) {
    const ByteVector reservedSet = {1, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 1, 0};
    const ByteVector typeZero = {0, 0, 0, 0, 1, 0, 32, 32, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 1, 0};
    const ByteVector noEntries = {0, 0, 1, 0, 0, 0};
    for (const ByteVector& directory : {reservedSet, typeZero, noEntries}) {
        GroupResource broken = group(1, {solidImage(32, 32, Red)});
        broken.rawGroup = directory;
        IconLibrary library = IconLibrary::fromBytes(test::buildPe({broken}), nullptr);
        ASSERT_EQ(library.count(), 1u);
        EXPECT_FALSE(library.largeIcon(0));
    }
}

TEST(PeReader, groupWithTheMostEntriesAFieldAllowsIsRead) {
    ByteVector directory = {0, 0, 1, 0, 0xFF, 0xFF};
    for (std::uint32_t i = 0; i < limits::MaxGroupEntries; ++i) {
        // 16 x 16 entries, then a last one of 32 x 32 that must win.
        const bool last = i + 1 == limits::MaxGroupEntries;
        const std::uint8_t size = last ? 32 : 16;
        const ByteVector entry = {size, size, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 1, 0};
        directory.insert(directory.end(), entry.begin(), entry.end());
    }
    GroupResource big = group(1, {solidImage(32, 32, Red)});
    big.rawGroup = directory;
    IconLibrary library = IconLibrary::fromBytes(test::buildPe({big}), nullptr);
    EXPECT_EQ(largeColour(library, 0), Red);
}

TEST(PeReader, resourceDirectoryPointingAtItselfEnds) {
    const auto groups = threeIcons();
    ByteVector file = test::buildPe(groups);
    const test::PeLayout layout = test::peLayout(groups);
    // Make the RT_GROUP_ICON type entry lead back to the root directory.
    test::putU32(file, layout.resourceRoot + 16 + 8 + 4, 0x80000000u);
    IconLibrary library = IconLibrary::fromBytes(file, nullptr);
    EXPECT_EQ(library.count(), 2u); // the root's two entries, read as groups
    for (std::uint32_t k = 0; k < library.count(); ++k)
        EXPECT_FALSE(library.largeIcon(k));
}

TEST(PeReader, offsetsPastTheEndGiveNoIconsOrNullIcons) {
    const auto groups = threeIcons();
    const test::PeLayout layout = test::peLayout(groups);
    {
        ByteVector file = test::buildPe(groups);
        test::putU32(file, 0x3C, static_cast<std::uint32_t>(file.size())); // e_lfanew
        EXPECT_EQ(IconLibrary::fromBytes(file, nullptr).count(), 0u);
    }
    {
        ByteVector file = test::buildPe(groups);
        test::putU32(file, 0x3C, 0xFFFFFFF0u);
        EXPECT_EQ(IconLibrary::fromBytes(file, nullptr).count(), 0u);
    }
    {
        ByteVector file = test::buildPe(groups);
        test::putU32(file, layout.sectionTable + 20, 0xFFFFFF00u); // PointerToRawData
        EXPECT_EQ(IconLibrary::fromBytes(file, nullptr).count(), 0u);
    }
    {
        ByteVector file = test::buildPe(groups);
        // The first group's language entry points far outside the tree.
        const std::uint64_t typeEntry = layout.groupTypeDirectory + 16;
        const std::uint32_t languages = 0x7FFFFFFF & *ByteView(file).u32(typeEntry + 4);
        test::putU32(file, layout.resourceRoot + languages + 16 + 4, 0x7FFFFFF0u);
        IconLibrary library = IconLibrary::fromBytes(file, nullptr);
        ASSERT_EQ(library.count(), 3u);
        EXPECT_FALSE(library.largeIcon(0));
        EXPECT_EQ(largeColour(library, 1), Green);
    }
    {
        ByteVector file = test::buildPe(groups);
        // A group whose data size runs past its section.
        const std::uint64_t typeEntry = layout.groupTypeDirectory + 16;
        const std::uint32_t languages = 0x7FFFFFFF & *ByteView(file).u32(typeEntry + 4);
        const std::uint32_t dataEntry =
            *ByteView(file).u32(layout.resourceRoot + languages + 16 + 4);
        test::putU32(file, layout.resourceRoot + dataEntry + 4, 0xFFFFFFF0u);
        IconLibrary library = IconLibrary::fromBytes(file, nullptr);
        EXPECT_FALSE(library.largeIcon(0));
        EXPECT_EQ(largeColour(library, 2), Blue);
    }
}

TEST(PeReader, everyTruncationGivesNoIconsOrSomeIconsAndNeverCrashes) {
    const ByteVector file = test::buildPe(threeIcons(), {.pe32Plus = false});
    for (std::size_t length = 0; length <= file.size(); ++length) {
        const ByteVector prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        IconLibrary library = IconLibrary::fromBytes(prefix, nullptr);
        const std::uint32_t count = library.count();
        ASSERT_TRUE(count == 0 || count == 3) << "length " << length;
        for (std::uint32_t k = 0; k < count; ++k)
            (void)library.largeIcon(k);
    }
    IconLibrary whole = IconLibrary::fromBytes(file, nullptr);
    EXPECT_EQ(largeColour(whole, 2), Blue);
}

TEST(PeReader, filesThatAreNoExecutableHaveNoIcons) {
    const std::vector<ByteVector> files = {
        {},
        {'M'},
        {'M', 'Z'},
        ByteVector(64, 0),
        {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'},
        {0, 0, 2, 0, 1, 0, 32, 32}, // a cursor file
    };
    for (const ByteVector& file : files)
        EXPECT_EQ(IconLibrary::fromBytes(file, nullptr).count(), 0u);
    ByteVector elsewhere = test::buildPe(threeIcons());
    elsewhere[0x81] = 'X'; // "PX\0\0"
    EXPECT_EQ(IconLibrary::fromBytes(elsewhere, nullptr).count(), 0u);
}

TEST(NeReader, readsGroupsThroughTheResourceTable) {
    for (int shift : {0, 4, 9}) {
        const ByteVector file = test::buildNe(threeIcons(), shift);
        IconLibrary library = IconLibrary::fromBytes(file, nullptr);
        ASSERT_EQ(library.count(), 3u) << "shift " << shift;
        EXPECT_EQ(largeColour(library, 0), Red);
        EXPECT_EQ(largeColour(library, 1), Green);
        EXPECT_EQ(largeColour(library, 2), Blue);
    }
}

TEST(NeReader, groupsWithoutAnIconBlockCountNothing) {
    ByteVector file = test::buildNe(threeIcons());
    // Rename the icon type block (0x8003) to a bitmap block (0x8002).
    const std::uint64_t iconBlock = 0x40 + 0x40 + 2 + 8 + 12 * 3;
    ASSERT_EQ(*ByteView(file).u16(iconBlock), 0x8003);
    test::putU16(file, iconBlock, 0x8002);
    EXPECT_EQ(IconLibrary::fromBytes(file, nullptr).count(), 0u);
}

TEST(NeReader, everyTruncationIsSafe) {
    const ByteVector file = test::buildNe(threeIcons());
    for (std::size_t length = 0; length <= file.size(); ++length) {
        const ByteVector prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        IconLibrary library = IconLibrary::fromBytes(prefix, nullptr);
        for (std::uint32_t k = 0; k < library.count(); ++k)
            (void)library.largeIcon(k);
    }
}

TEST(IconFileReader, holdsOneIconChosenFromItsImages) {
    const ByteVector file = test::buildIconFile(
        {solidImage(16, 32, Red), solidImage(32, 4, Green), solidImage(48, 32, Blue)});
    IconLibrary library = IconLibrary::fromBytes(file, nullptr);
    ASSERT_EQ(library.count(), 1u);
    EXPECT_EQ(largeColour(library, 0), Green);
    EXPECT_FALSE(library.largeIcon(1));
}

TEST(IconFileReader, badHeadersAndBadOffsets) {
    ByteVector file = test::buildIconFile({solidImage(32, 32, Red)});
    ByteVector noEntries = file;
    test::putU16(noEntries, 4, 0);
    EXPECT_EQ(IconLibrary::fromBytes(noEntries, nullptr).count(), 0u);
    ByteVector reserved = file;
    test::putU16(reserved, 0, 7);
    EXPECT_EQ(IconLibrary::fromBytes(reserved, nullptr).count(), 0u);

    ByteVector pastEnd = file;
    test::putU32(pastEnd, 6 + 12, 0xFFFFFF00u);
    IconLibrary library = IconLibrary::fromBytes(pastEnd, nullptr);
    ASSERT_EQ(library.count(), 1u);
    EXPECT_FALSE(library.largeIcon(0));

    ByteVector tooManyEntries = file;
    test::putU16(tooManyEntries, 4, 0xFFFF);
    IconLibrary many = IconLibrary::fromBytes(tooManyEntries, nullptr);
    ASSERT_EQ(many.count(), 1u);
    EXPECT_FALSE(many.largeIcon(0));
}

} // namespace
} // namespace orvu
