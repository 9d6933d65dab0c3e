// Reading files ahead of the folder scan on other threads.

#include "icon_builders.h"
#include "icon_prefetch.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

class Prefetch : public ::testing::TestWithParam<unsigned> {};

TEST_P(Prefetch, handsOutEveryFileInTheOrderItWasSubmitted) {
    test::TempDir dir;
    constexpr std::uint32_t Files = 3 * IconPrefetch::FilesAhead + 5;
    IconPrefetch prefetch(nullptr, GetParam());
    std::vector<std::size_t> tickets;
    for (std::uint32_t i = 0; i < Files; ++i) {
        test::GroupResource group;
        group.name = std::uint16_t{1};
        group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, i + 1)}};
        const auto path = dir / ("f" + std::to_string(i) + ".exe");
        test::writeFile(path, test::buildPe({group}));
        tickets.push_back(prefetch.submit(path));
    }
    tickets.push_back(prefetch.submit(dir / "missing.exe"));
    for (std::uint32_t i = 0; i < Files; ++i) {
        PrefetchedFile file = prefetch.take(tickets[i]);
        ASSERT_EQ(file.library.count(), 1u);
        ASSERT_EQ(file.icons.size(), 1u);
        ASSERT_TRUE(file.icons[0]);
        EXPECT_EQ(file.icons[0]->pixel(0, 0) & 0xFFFFFF, i + 1) << "file " << i;
    }
    const PrefetchedFile missing = prefetch.take(tickets.back());
    EXPECT_EQ(missing.library.count(), 0u);
    EXPECT_FALSE(missing.library.readError().empty());
}

TEST_P(Prefetch, filesLeftUntakenAreDroppedWhenTheScanStops) {
    test::TempDir dir;
    test::GroupResource group;
    group.name = std::uint16_t{1};
    group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, 7)}};
    test::writeFile(dir / "a.exe", test::buildPe({group}));
    auto prefetch = std::make_unique<IconPrefetch>(nullptr, GetParam());
    for (int i = 0; i < 100; ++i)
        prefetch->submit(dir / "a.exe");
    EXPECT_EQ(prefetch->take(0).library.count(), 1u);
    prefetch.reset(); // must neither hang nor crash
}

INSTANTIATE_TEST_SUITE_P(Workers, Prefetch, ::testing::Values(0u, 1u, 3u));

} // namespace
} // namespace orvu
