// Files that once made the reader misbehave: each is kept (in
// tests/data/fuzz-regressions or built here) with what a user must see.

#include "icons/icon_library.h"
#include "icons/limits.h"
#include "support/icon_builders.h"
#include "support/png_writer.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

using test::ByteVector;
using test::GroupResource;

std::filesystem::path regressionFile(const std::string& name) {
    return test::dataDir() / "fuzz-regressions" / name;
}

GroupResource solidGroup(std::uint16_t id, std::uint32_t rgb) {
    GroupResource group;
    group.name = id;
    group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, rgb)}};
    return group;
}

std::optional<std::uint32_t> largeColour(IconLibrary& library, std::uint32_t k) {
    const auto icon = library.largeIcon(k);
    if (!icon)
        return std::nullopt;
    return icon->pixel(0, 0) & 0xFFFFFF;
}

// A 4 KB file whose RT_GROUP_ICON directory claims 98 815 entries: the
// harvest showed 98 815 empty tiles and read past the file's end for each.
TEST(FuzzRegression, groupDirectoryRunningPastTheFileHasNoIcons) {
    const auto path = regressionFile("pe-group-directory-past-end.exe");
    ASSERT_TRUE(std::filesystem::exists(path)) << path;
    EXPECT_EQ(IconLibrary::fromBytes(test::readFile(path), nullptr).count(), 0u);
    EXPECT_LT(std::filesystem::file_size(path), 98815u * 8);
}

TEST(FuzzRegression, groupDirectoryCutShortByTheFileEndHasNoIcons) {
    const std::vector<GroupResource> groups = {solidGroup(1, 0xFF0000), solidGroup(2, 0x00FF00)};
    const test::PeLayout layout = test::peLayout(groups);
    ByteVector file = test::buildPe(groups);
    // Claim as many numbered groups as the field allows; the file holds two.
    test::putU16(file, layout.groupTypeDirectory + 14, 0xFFFF);
    IconLibrary claimed = IconLibrary::fromBytes(file, nullptr);
    EXPECT_EQ(claimed.count(), 0u);

    // The same file as it was is read in full.
    IconLibrary intact = IconLibrary::fromBytes(test::buildPe(groups), nullptr);
    ASSERT_EQ(intact.count(), 2u);
    EXPECT_EQ(largeColour(intact, 1), 0x00FF00u);
}

TEST(FuzzRegression, groupDirectoryOfMoreEntriesThanIdsAllowHasNoIcons) {
    const std::vector<GroupResource> groups = {solidGroup(1, 0xFF0000)};
    const test::PeLayout layout = test::peLayout(groups);
    ByteVector file = test::buildPe(groups);
    // 65 535 named plus 1 numbered entries, with the file padded to hold them all.
    test::putU16(file, layout.groupTypeDirectory + 12, 0xFFFF);
    file.resize(layout.groupTypeDirectory + 16 + 8 * (limits::MaxIconsPerFile + 1), 0);
    EXPECT_EQ(IconLibrary::fromBytes(file, nullptr).count(), 0u);
}

// NE icons are looked up by id; where the resource table lists an id more
// than once, the last listing counts, wherever the ids sort.
TEST(FuzzRegression, repeatedNeIconIdsTakeTheLastListing) {
    const std::vector<GroupResource> groups = {solidGroup(1, 0xFF0000), solidGroup(2, 0x00FF00),
                                               solidGroup(3, 0x0000FF)};
    ByteVector file = test::buildNe(groups);
    // The icon block follows the group block: shift count, group type info,
    // three name infos, icon type info, then one name info per icon: ids 1
    // (red), 2 (green), 3 (blue).
    const std::uint64_t icons = 0x40 + 0x40 + 2 + 8 + 12 * 3 + 8;
    ASSERT_EQ(*ByteView(file).u16(icons + 6), 0x8001);
    ASSERT_EQ(*ByteView(file).u16(icons + 2 * 12 + 6), 0x8003);
    // The blue image takes id 1 too: the ids now read 1, 2, 1.
    test::putU16(file, icons + 2 * 12 + 6, 0x8001);
    IconLibrary library = IconLibrary::fromBytes(file, nullptr);
    ASSERT_EQ(library.count(), 3u);
    EXPECT_EQ(largeColour(library, 0), 0x0000FFu); // icon 1: the blue image, listed last
    EXPECT_EQ(largeColour(library, 1), 0x00FF00u);
    EXPECT_FALSE(library.largeIcon(2)); // icon 3 is gone
}

// 65 535 icons that all named one PNG inflating from 26 KB to 1 024 x 1 024
// kept the harvest decoding for a minute on one file. Every image is now
// charged by the size its header claims, before it is decoded, whether or
// not the decoding succeeds.
TEST(FuzzRegression, imagesClaimingTheLargestSizeUseUpTheFilesDecodingBudget) {
    test::PngFormat largest;
    largest.width = static_cast<std::uint32_t>(limits::MaxImageSide);
    largest.height = largest.width;
    const ByteVector claim = test::zeroPng(largest, 0); // a header, and no image data
    const std::uint64_t claimsInBudget =
        limits::MaxDecodedPixelsPerFile / (std::uint64_t{largest.width} * largest.height);

    const auto fileWith = [&](std::uint64_t claims) {
        std::vector<GroupResource> groups;
        for (std::uint64_t i = 0; i < claims; ++i) {
            GroupResource group;
            group.name = static_cast<std::uint16_t>(i + 1);
            group.images = {{test::groupEntry(0, 0, 32, 0), claim}};
            groups.push_back(group);
        }
        groups.push_back(solidGroup(static_cast<std::uint16_t>(claims + 1), 0x00FF00));
        return test::buildPe(groups);
    };
    // No PNG decoder: none of the claims makes an image, yet each is charged.
    IconLibrary withinBudget = IconLibrary::fromBytes(fileWith(claimsInBudget), nullptr);
    ASSERT_EQ(withinBudget.count(), claimsInBudget + 1);
    EXPECT_FALSE(withinBudget.largeIcon(0));
    EXPECT_EQ(largeColour(withinBudget, static_cast<std::uint32_t>(claimsInBudget)), 0x00FF00u);

    IconLibrary pastBudget = IconLibrary::fromBytes(fileWith(claimsInBudget + 1), nullptr);
    for (std::uint32_t k = 0; k <= claimsInBudget; ++k)
        EXPECT_FALSE(pastBudget.largeIcon(k));
    EXPECT_FALSE(pastBudget.largeIcon(static_cast<std::uint32_t>(claimsInBudget + 1)));
}

} // namespace
} // namespace orvu
