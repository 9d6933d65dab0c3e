// What the person may do while a folder harvest yields to the window, and the
// choice of harvesting cursors too: the tiles only ever show the chosen
// source's icons, one long job runs at a time.

#include "window_script.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

namespace fs = std::filesystem;

// A folder of six programs of one icon each, chosen in folder mode; a
// harvest of it yields after every file.
class ScanEvents : public ::testing::Test, protected test::WindowFlows {
protected:
    ScanEvents() {
        for (std::uint32_t i = 0; i < 6; ++i)
            test::writeExecutable(dir / "tree" / ("app" + std::to_string(i) + ".exe"),
                                  {0x101010u * (i + 1)});
        chooseFolder(dir / "tree");
    }
    void atTurn(int n, std::function<void()> act) { view.atTurn[n] = std::move(act); }
};

TEST_F(ScanEvents, switchingModeStopsTheScanKeepingWhatItFound) {
    atTurn(2, [this] { window.chooseFileMode(); });
    window.start();
    EXPECT_EQ(window.tiles().size(), 2u);
    EXPECT_EQ(view.sources.mode, SourceMode::File);
    EXPECT_EQ(view.sources.folder, fs::path());
    EXPECT_TRUE(window.tileMenu(true).saveSelected); // no long job runs
    EXPECT_EQ(status(), "点击“开始”提取图标");
}

TEST_F(ScanEvents, pickerEmptiesTheListAndTheOldScanAddsNothingMore) {
    atTurn(2, [this] {
        asker.answer(dir / "tree");
        window.pickFolder();
    });
    window.start();
    EXPECT_TRUE(window.tiles().empty());
    EXPECT_TRUE(view.sources.startEnabled);
    EXPECT_EQ(status(), "点击“开始”提取图标");
}

TEST_F(ScanEvents, startDuringAScanRunsOnceTheOldOneHasStopped) {
    atTurn(1, [this] {
        asker.answer(dir / "tree");
        window.pickFolder();
        window.start();
        EXPECT_TRUE(window.tiles().empty()); // not a harvest inside the harvest
    });
    window.start();
    // The first scan took my1 and was stopped; the second ran whole.
    EXPECT_EQ(keys(), (std::vector<std::string>{"my2", "my3", "my4", "my5", "my6", "my7"}));
    EXPECT_EQ(captions(),
              (std::vector<std::string>{"图标1", "图标2", "图标3", "图标4", "图标5", "图标6"}));
    EXPECT_EQ(status(), "点击“开始”提取图标");
    EXPECT_FALSE(view.sources.startEnabled);
}

TEST_F(ScanEvents, aDropDuringAScanStopsItAndHarvestsWhatWasDropped) {
    test::writeExecutable(dir / "other" / "dropped.exe", {0xABCDEF, 0xABCDEF});
    atTurn(2, [this] { window.openPaths({dir / "other" / "dropped.exe"}); });
    window.start();
    EXPECT_EQ(keys(), (std::vector<std::string>{"my0", "my1"}));
    EXPECT_EQ(view.sources.mode, SourceMode::File);
    EXPECT_TRUE(window.tileMenu(true).saveSelected); // no long job runs
}

TEST_F(ScanEvents, escapeStopsTheScanAndTheStatusLineSaysSo) {
    atTurn(3, [this] { window.stop(); });
    window.start();
    EXPECT_EQ(window.tiles().size(), 3u);
    EXPECT_EQ(status(), "提取已停止");
    // Esc with nothing running changes nothing.
    window.stop();
    window.start();
    EXPECT_EQ(window.tiles().size(), 6u);
}

TEST_F(ScanEvents, theWindowGoingAwayStopsTheScanAndNothingWaitingRuns) {
    atTurn(1, [this] {
        window.start();
        EXPECT_TRUE(window.end());
        EXPECT_FALSE(window.end());
    });
    window.start();
    EXPECT_EQ(window.tiles().size(), 1u);
    EXPECT_TRUE(window.ending());
}

// Saving many runs as a long job too: a harvest may not start inside it, a
// second save is refused, Esc stops it where it is.
TEST_F(ScanEvents, aSaveRunsAloneAndEscStopsIt) {
    window.start();
    ASSERT_EQ(window.tiles().size(), 6u);
    fs::create_directory(dir / "out");
    for (const bool stop : {false, true}) {
        view.turns = 0;
        view.atTurn.clear();
        atTurn(1, [this, stop] {
            EXPECT_FALSE(window.tileMenu(true).saveAll);
            window.start();
            EXPECT_EQ(window.tiles().size(), 6u);
            if (stop)
                window.stop();
        });
        asker.answer(dir / "out");
        asker.replies.push_back(Reply::No);
        window.saveAllTiles();
    }
    // The first save ran whole, then the harvest that waited; the second
    // stopped at its first yield.
    ASSERT_EQ(asker.news.size(), 1u);
    EXPECT_EQ(asker.news[0], "已保存 6 个图标。");
    ASSERT_EQ(asker.told.size(), 1u);
    EXPECT_EQ(asker.told[0].rfind("保存已停止。", 0), 0u) << asker.told[0];
}

// Turning "include cursors" on or off shows at once: the source harvested
// since it was chosen is harvested again, its icons numbered as before.
struct ChoiceCase {
    const char* name;
    int steps; // of: choose the file, Start
    std::vector<std::string> captions;
    bool startEnabled;
};

class IncludeCursors : public ::testing::TestWithParam<ChoiceCase>, protected test::WindowFlows {};

TEST_P(IncludeCursors, harvestsTheSourceShownAgain) {
    const ChoiceCase& c = GetParam();
    test::GroupResource icon;
    icon.name = std::uint16_t{1};
    icon.images = {{test::groupEntry(32, 32, 32, 0), test::solidDib(32, 32, 0xFF0000)}};
    test::GroupResource cursor = icon;
    cursor.name = std::uint16_t{2};
    cursor.type = test::GroupType::Cursor;
    cursor.images[0].entry.hotspot = Hotspot{3, 9};
    test::writeFile(dir / "a.exe", test::buildPe({icon, icon, cursor}));
    if (c.steps >= 1)
        chooseFile(dir / "a.exe");
    if (c.steps >= 2)
        window.start();
    std::vector<bool> remembered;
    window.onIncludesCursorsChanged = [&](bool include) { remembered.push_back(include); };
    window.setIncludesCursors(true);
    window.setIncludesCursors(true); // no change
    EXPECT_EQ(captions(), c.captions);
    EXPECT_EQ(view.sources.startEnabled, c.startEnabled);
    window.setIncludesCursors(false);
    EXPECT_EQ(window.tiles().size(), c.steps >= 2 ? 2u : 0u);
    EXPECT_EQ(remembered, (std::vector<bool>{true, false}));
    EXPECT_TRUE(asker.told.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Window, IncludeCursors,
    ::testing::Values(ChoiceCase{"nothingChosen", 0, {}, false},
                      // Start, still to be pressed, will harvest with the choice.
                      ChoiceCase{"chosenNotHarvested", 1, {}, true},
                      ChoiceCase{"harvested", 2, {"图标1", "图标2", "光标1"}, false}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace orvu
