// The Start command and the folder scan, driven through a window without a screen.

#include "harvest/folder_scan.h"
#include "harvest/messages.h"
#include "harvest/start_command.h"
#include "platform/system_failure.h"
#include "support/headless_window.h"
#include "support/icon_builders.h"
#include "support/test_files.h"

#include <cerrno>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace orvu {
namespace {

namespace fs = std::filesystem;
using test::GroupResource;

// An executable whose icon i is a solid square of colours[i].
test::ByteVector executableWith(const std::vector<std::uint32_t>& colours) {
    std::vector<GroupResource> groups;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        GroupResource group;
        group.name = static_cast<std::uint16_t>(i + 1);
        group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, colours[i])}};
        groups.push_back(group);
    }
    return test::buildPe(groups);
}

std::vector<std::string> keys(const HeadlessWindow& window) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < window.tiles().size(); ++i)
        result.push_back(window.tiles().key(i));
    return result;
}

std::vector<std::string> tileTexts(const HeadlessWindow& window) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < window.tiles().size(); ++i)
        result.push_back(window.tiles().caption(i));
    return result;
}

std::uint32_t cellColour(const HeadlessWindow& window, std::size_t tile) {
    return window.tiles().cell(tile).pixel(16, 16);
}

class Harvest : public ::testing::Test {
protected:
    void write(const std::string& name, const std::vector<std::uint32_t>& colours) {
        fs::create_directories((dir / name).parent_path());
        test::writeFile(dir / name, executableWith(colours));
    }
    void start(const fs::path& file, const fs::path& folder) {
        StartCommand(window, folderKeys, nullptr).run(file, folder);
    }

    test::TempDir dir;
    HeadlessWindow window;
    FolderKeys folderKeys;
};

TEST_F(Harvest, singleFileKeysByIconIndexAndNumbersTilesFromOne) {
    write("three.exe", {0xFF0000, 0x00FF00, 0x0000FF});
    start(dir / "three.exe", {});
    EXPECT_EQ(keys(window), (std::vector<std::string>{"my0", "my1", "my2"}));
    EXPECT_EQ(tileTexts(window), (std::vector<std::string>{"图标1", "图标2", "图标3"}));
    EXPECT_EQ(cellColour(window, 0), 0xFF0000u);
    EXPECT_EQ(cellColour(window, 2), 0x0000FFu);
    EXPECT_FALSE(window.startEnabled());
    EXPECT_TRUE(window.problems().empty());
    EXPECT_EQ(window.yields(), 0u);
}

TEST_F(Harvest, cellIsThePreviewBackgroundWithTheIconInItsCorner) {
    GroupResource small;
    small.name = std::uint16_t{1};
    small.images = {{test::groupEntry(16, 16, 24, 0), test::solidDib(16, 24, 0x123456)}};
    GroupResource broken = small;
    broken.rawGroup = test::ByteVector{0, 0, 1, 0, 0, 0};
    test::writeFile(dir / "mixed.exe", test::buildPe({small, broken}));
    start(dir / "mixed.exe", {});
    ASSERT_EQ(window.tiles().size(), 2u);
    const IconCell& cell = window.tiles().cell(0);
    EXPECT_EQ(cell.width, 32);
    EXPECT_EQ(cell.pixel(31, 31), 0x123456u); // 16 x 16 doubled to fill the cell
    // An icon without a usable image is kept as the plain background.
    for (std::uint32_t pixel : window.tiles().cell(1).pixels)
        ASSERT_EQ(pixel, HeadlessWindow::PreviewBackground);
}

TEST_F(Harvest, fileWithoutIconsLeavesEverythingEmptyAndSaysNothing) {
    test::writeFile(dir / "plain.exe", {'M', 'Z', 0, 0});
    start(dir / "plain.exe", {});
    EXPECT_TRUE(window.tiles().empty());
    EXPECT_TRUE(window.problems().empty());
    EXPECT_FALSE(window.startEnabled());
}

TEST_F(Harvest, bothBoxesEmptyOnlyEmptiesAndDisables) {
    window.tiles().append(0, Surface::filled(32, 32, 0), 0, {});
    start({}, {});
    EXPECT_FALSE(window.startEnabled());
    EXPECT_TRUE(window.tiles().empty());
    EXPECT_TRUE(window.statusHistory().empty());
    EXPECT_TRUE(window.problems().empty());
}

TEST_F(Harvest, unreadableFileIsReportedAndTheProgramGoesOn) {
    start(dir / "missing.exe", {});
    ASSERT_EQ(window.problems().size(), 1u);
    EXPECT_NE(window.problems()[0].find("missing.exe"), std::string::npos);
    EXPECT_TRUE(window.tiles().empty());
}

TEST_F(Harvest, missingFolderIsReportedAndNothingIsHarvested) {
    start({}, dir / "nowhere");
    ASSERT_EQ(window.problems().size(), 1u);
    EXPECT_NE(window.problems()[0].find("nowhere"), std::string::npos);
    EXPECT_TRUE(window.tiles().empty());
    EXPECT_TRUE(window.statusHistory().empty());
}

TEST_F(Harvest, folderScanKeysFromTheCountersAndListsEachImageOnce) {
    write("a.exe", {0x110000, 0x220000});
    test::writeFile(dir / "b.txt", executableWith({0x330000}));
    write("c.EXE", {0x440000, 0x550000, 0x660000});
    std::vector<std::vector<std::string>> tilesAfterEachYield;
    window.setLongestPause(std::chrono::hours(1)); // the yields between files only
    window.onYield = [&] {
        tilesAfterEachYield.push_back(tileTexts(window));
        return true;
    };
    start({}, dir.path());
    EXPECT_EQ(keys(window), (std::vector<std::string>{"my1", "my2", "my3", "my4", "my5"}));
    EXPECT_EQ(tileTexts(window),
              (std::vector<std::string>{"图标1", "图标2", "图标3", "图标4", "图标5"}));
    EXPECT_EQ(cellColour(window, 2), 0x440000u);
    ASSERT_EQ(tilesAfterEachYield.size(), 3u); // a.exe, b.txt, c.EXE
    EXPECT_EQ(tilesAfterEachYield[0], (std::vector<std::string>{"图标1", "图标2"}));
    EXPECT_EQ(tilesAfterEachYield[1], (std::vector<std::string>{"图标1", "图标2"}));
    EXPECT_EQ(folderKeys.handedOut, 5);
}

TEST_F(Harvest, matchingFileWithoutIconsAddsNoTiles) {
    write("a.exe", {0x110000, 0x220000});
    test::writeFile(dir / "b.exe", {});
    start({}, dir.path());
    EXPECT_EQ(tileTexts(window), (std::vector<std::string>{"图标1", "图标2"}));
    EXPECT_TRUE(window.problems().empty());
}

TEST_F(Harvest, statusLineFollowsTheWalk) {
    write("A/a.exe", {0x110000});
    write("A/B/b.exe", {0x220000});
    start({}, dir / "A");
    EXPECT_EQ(window.statusHistory(),
              (std::vector<std::string>{
                  (dir / "A" / "a.exe").string(), (dir / "A" / "B" / "b.exe").string(),
                  messages::idlePrompt(), (dir / "A" / "B").string(), messages::idlePrompt()}));
    EXPECT_EQ(keys(window), (std::vector<std::string>{"my1", "my2"}));
}

TEST_F(Harvest, walkTakesFilesBeforeSubfoldersInNameOrderIgnoringCase) {
    write("top/Zed.exe", {0x000001});
    write("top/alpha.exe", {0x000002});
    write("top/b/inner.exe", {0x000003});
    write("top/A/first.exe", {0x000004});
    start({}, dir / "top");
    std::vector<std::uint32_t> order;
    for (std::size_t i = 0; i < window.tiles().size(); ++i)
        order.push_back(cellColour(window, i));
    EXPECT_EQ(order, (std::vector<std::uint32_t>{2, 1, 4, 3}));
}

TEST_F(Harvest, secondScanContinuesTheKeys) {
    write("one/a.exe", {1, 2, 3});
    write("two/b.exe", {4, 5});
    start({}, dir / "one");
    HeadlessWindow second; // a picker emptied the collection in between
    StartCommand(second, folderKeys, nullptr).run({}, dir / "two");
    EXPECT_EQ(keys(second), (std::vector<std::string>{"my4", "my5"}));
    EXPECT_EQ(tileTexts(second), (std::vector<std::string>{"图标1", "图标2"}));
}

TEST_F(Harvest, emptyFolderEndsIdleWithoutYielding) {
    fs::create_directory(dir / "empty");
    start({}, dir / "empty");
    EXPECT_EQ(window.statusHistory(), (std::vector<std::string>{messages::idlePrompt()}));
    EXPECT_EQ(window.yields(), 0u);
    EXPECT_TRUE(window.tiles().empty());
}

TEST_F(Harvest, keyAlreadyTakenStopsTheCommandKeepingWhatWasDone) {
    write("app.exe", {1, 2, 3});
    write("folder/x.exe", {4, 5, 6});
    start(dir / "app.exe", dir / "folder");
    EXPECT_EQ(keys(window), (std::vector<std::string>{"my0", "my1", "my2"}));
    ASSERT_EQ(window.problems().size(), 1u);
    EXPECT_NE(window.problems()[0].find("my1"), std::string::npos);
}

TEST_F(Harvest, windowGoingAwayStopsTheScanAtOnce) {
    write("a.exe", {1});
    write("b.exe", {2});
    write("c.exe", {3});
    window.onYield = [] { return false; };
    start({}, dir.path());
    EXPECT_EQ(window.tiles().size(), 1u);
    EXPECT_TRUE(window.problems().empty());
}

// A file of many icons doesn't hold the window: once the longest pause is
// over the harvest yields inside the file too, the tiles so far shown.
TEST_F(Harvest, manyIconsInOneFileAreHarvestedWithYieldsBetweenThem) {
    write("many.exe", std::vector<std::uint32_t>(5, 0x123456));
    window.setLongestPause(std::chrono::milliseconds(0));
    std::vector<std::size_t> tilesAtYields;
    window.onYield = [&] {
        tilesAtYields.push_back(window.tiles().size());
        return true;
    };
    start(dir / "many.exe", {});
    EXPECT_EQ(tilesAtYields, (std::vector<std::size_t>{1, 2, 3, 4}));
    EXPECT_EQ(window.tiles().size(), 5u);

    // A stop asked for at a yield inside the file adds nothing more.
    HeadlessWindow stopped;
    stopped.setLongestPause(std::chrono::milliseconds(0));
    stopped.onYield = [&] { return stopped.tiles().size() < 2; };
    EXPECT_FALSE(StartCommand(stopped, folderKeys, nullptr).run(dir / "many.exe", {}));
    EXPECT_EQ(stopped.tiles().size(), 2u);
}

// A harvest that reaches the window's tile limit stops with one message and
// keeps the tiles it has, in either mode.
TEST_F(Harvest, tileLimitStopsTheHarvestKeepingWhatItHas) {
    write("folder/a.exe", {1, 2, 3});
    write("folder/b.exe", {4, 5, 6});
    struct Case {
        fs::path file;
        fs::path folder;
        std::vector<std::string> keys;
    };
    const Case cases[] = {
        {dir / "folder/a.exe", {}, {"my0", "my1"}},
        {{}, dir / "folder", {"my1", "my2", "my3", "my4"}},
    };
    for (const Case& c : cases) {
        HeadlessWindow limited;
        limited.setTileLimit(c.keys.size());
        FolderKeys fresh;
        EXPECT_FALSE(StartCommand(limited, fresh, nullptr).run(c.file, c.folder));
        EXPECT_EQ(keys(limited), c.keys);
        EXPECT_EQ(limited.tiles().size(), c.keys.size());
        ASSERT_EQ(limited.problems().size(), 1u);
        EXPECT_NE(limited.problems()[0].find(std::to_string(c.keys.size())), std::string::npos);
    }
}

TEST_F(Harvest, specialAndBrokenEntriesAreSkippedNamedAndNeverOpened) {
#ifdef _WIN32
    GTEST_SKIP() << "FIFOs and links in folders are POSIX things";
#else
    write("good.exe", {7});
    ASSERT_EQ(::mkfifo((dir / "pipe.exe").c_str(), 0600), 0);
    fs::create_symlink(dir / "gone", dir / "broken.exe");
    ASSERT_EQ(::mkfifo((dir / "pipe.txt").c_str(), 0600), 0);
    start({}, dir.path());
    EXPECT_EQ(keys(window), (std::vector<std::string>{"my1"}));
    ASSERT_EQ(window.problems().size(), 1u);
    const std::string& report = window.problems()[0];
    EXPECT_NE(report.find("2 "), std::string::npos) << report;
    EXPECT_NE(report.find("pipe.exe"), std::string::npos) << report;
    EXPECT_NE(report.find("broken.exe"), std::string::npos) << report;
    EXPECT_EQ(report.find("pipe.txt"), std::string::npos) << report;
    EXPECT_EQ(window.yields(), 4u);
#endif
}

// The reasons a person meets most are said in the window's language; the
// others in the system's own words.
TEST(Messages, theSystemsCommonReasonsAreSaidInTheWindowsLanguage) {
    struct Case {
        int error;
        const char* said;
    };
#ifdef _WIN32
    const Case cases[] = {{2, "文件或文件夹不存在"},
                          {3, "文件或文件夹不存在"},
                          {5, "没有权限"},
                          {112, "磁盘已满"},
                          {19, "磁盘是只读的"},
                          {206, "名称太长"},
                          {31, "in the system's words"}};
#else
    const Case cases[] = {
        {ENOENT, "文件或文件夹不存在"}, {EACCES, "没有权限"},          {EPERM, "没有权限"},
        {ENOSPC, "磁盘已满"},           {EROFS, "磁盘是只读的"},       {ENAMETOOLONG, "名称太长"},
        {EISDIR, "这是一个文件夹"},     {EIO, "in the system's words"}};
#endif
    for (const Case& c : cases) {
        const Failure failure{Failure::Kind::System, "in the system's words", c.error};
        EXPECT_EQ(messages::reason(failure), c.said) << c.error;
    }
}

} // namespace
} // namespace orvu
