// Reading files ahead of the folder scan on other threads.

#include "platform/icon_prefetch.h"
#include "support/icon_builders.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

class Prefetch : public ::testing::TestWithParam<unsigned> {};

// Files whose one icon is a solid colour: file i's is i + 1.
std::vector<FileToRead> numberedFiles(const test::TempDir& dir, std::uint32_t count) {
    std::vector<FileToRead> files;
    for (std::uint32_t i = 0; i < count; ++i) {
        test::GroupResource group;
        group.name = std::uint16_t{1};
        group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, i + 1)}};
        const auto path = dir / ("f" + std::to_string(i) + ".exe");
        test::writeFile(path, test::buildPe({group}));
        files.push_back(FileToRead::at(path));
    }
    return files;
}

void expectFile(PrefetchedFile file, std::uint32_t number) {
    ASSERT_TRUE(file.library) << "file " << number;
    ASSERT_EQ(file.library->count(), 1u) << "file " << number;
    ASSERT_EQ(file.icons.size(), 1u) << "file " << number;
    ASSERT_TRUE(file.icons[0]) << "file " << number;
    EXPECT_EQ(file.icons[0]->pixel(0, 0) & 0xFFFFFF, number + 1) << "file " << number;
}

TEST_P(Prefetch, handsOutEveryFileInTheOrderItWasSubmitted) {
    test::TempDir dir;
    constexpr std::uint32_t Files = 3 * IconPrefetch::FilesAhead + 5;
    const auto paths = numberedFiles(dir, Files);
    IconPrefetch prefetch(nullptr, GetParam());
    // Some one at a time, the rest at once.
    for (std::uint32_t i = 0; i < 10; ++i)
        prefetch.submit({paths[i]});
    prefetch.submit({paths.begin() + 10, paths.end()});
    prefetch.submit({FileToRead::at(dir / "missing.exe")});
    for (std::uint32_t i = 0; i < Files; ++i)
        expectFile(prefetch.take(), i);
    const PrefetchedFile missing = prefetch.take();
    ASSERT_FALSE(missing.library);
    EXPECT_EQ(missing.library.failure().kind, Failure::Kind::System);
}

TEST_P(Prefetch, filesSubmittedWhileOthersAreTakenFollowThem) {
    // As a scan goes from one folder to the next.
    test::TempDir dir;
    constexpr std::uint32_t Files = 2 * IconPrefetch::FilesAhead;
    const auto paths = numberedFiles(dir, Files);
    IconPrefetch prefetch(nullptr, GetParam());
    prefetch.submit({paths.begin(), paths.begin() + Files / 2});
    for (std::uint32_t i = 0; i < Files / 4; ++i)
        expectFile(prefetch.take(), i);
    prefetch.submit({paths.begin() + Files / 2, paths.end()});
    prefetch.submit({});
    for (std::uint32_t i = Files / 4; i < Files; ++i)
        expectFile(prefetch.take(), i);
}

TEST_P(Prefetch, filesOfManyIconsAreHandedOutWhenMoreIconsWaitThanAreHeldAhead) {
    // More icons in all than are kept waiting for the scan: readers must stop
    // and go on again without ever waiting for each other.
    test::TempDir dir;
    constexpr std::uint32_t IconsPerFile = 200;
    static_assert(IconsPerFile <= IconPrefetch::IconsAhead);
    constexpr std::uint32_t Files = IconPrefetch::IconsWaiting / IconsPerFile + 3;
    std::vector<FileToRead> files;
    for (std::uint32_t i = 0; i < Files; ++i) {
        std::vector<test::GroupResource> groups(IconsPerFile);
        for (std::uint32_t k = 0; k < IconsPerFile; ++k) {
            groups[k].name = static_cast<std::uint16_t>(k + 1);
            groups[k].images = {{test::groupEntry(16, 16, 24, 0), test::solidDib(16, 24, i + 1)}};
        }
        const auto path = dir / ("many" + std::to_string(i) + ".exe");
        test::writeFile(path, test::buildPe(groups));
        files.push_back(FileToRead::at(path));
    }
    IconPrefetch prefetch(nullptr, GetParam());
    prefetch.submit(files);
    for (std::uint32_t i = 0; i < Files; ++i) {
        const PrefetchedFile file = prefetch.take();
        ASSERT_EQ(file.icons.size(), IconsPerFile);
        EXPECT_EQ(file.icons.back()->pixel(0, 0) & 0xFFFFFF, i + 1);
    }
}

TEST_P(Prefetch, filesLeftUntakenAreDroppedWhenTheScanStops) {
    test::TempDir dir;
    test::GroupResource group;
    group.name = std::uint16_t{1};
    group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, 7)}};
    test::writeFile(dir / "a.exe", test::buildPe({group}));
    auto prefetch = std::make_unique<IconPrefetch>(nullptr, GetParam());
    prefetch->submit(std::vector<FileToRead>(100, FileToRead::at(dir / "a.exe")));
    EXPECT_EQ(prefetch->take().library->count(), 1u);
    prefetch.reset(); // must neither hang nor crash
}

INSTANTIATE_TEST_SUITE_P(Workers, Prefetch, ::testing::Values(0u, 1u, 3u));

} // namespace
} // namespace orvu
