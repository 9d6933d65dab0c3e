// The harvested tiles as one collection: keys, shared cells, captions, and
// what a list showing them is told.

#include "harvest/tile_collection.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

IconCell solid(std::uint32_t colour) {
    return Surface::filled(CellSize, CellSize, colour);
}

// A key the collection holds already is refused, wherever in a run it is,
// and frees again when the collection is cleared.
TEST(TileCollection, refusesAKeyItHoldsAndNoOther) {
    struct Case {
        const char* name;
        std::vector<TileCollection::Key> keys;
        std::vector<std::string> held; // the keys of the tiles added
    };
    const Case cases[] = {
        {"one file", {0, 1, 2}, {"my0", "my1", "my2"}},
        {"the last again", {0, 1, 1}, {"my0", "my1"}},
        {"inside a run", {1, 2, 3, 2}, {"my1", "my2", "my3"}},
        {"runs side by side", {5, 1, 6, 2, 5, 7}, {"my5", "my1", "my6", "my2", "my7"}},
        {"a file, then a folder", {0, 1, 2, 1, 3}, {"my0", "my1", "my2", "my3"}},
    };
    for (const Case& c : cases) {
        TileCollection tiles;
        for (const TileCollection::Key key : c.keys)
            tiles.append(key, solid(0), 0xFFFFFF, {});
        std::vector<std::string> held;
        for (std::size_t i = 0; i < tiles.size(); ++i)
            held.push_back(tiles.key(i));
        EXPECT_EQ(held, c.held) << c.name;
        tiles.clear();
        EXPECT_TRUE(tiles.append(c.keys.front(), solid(0), 0xFFFFFF, {})) << c.name;
    }
}

// Identical cells are stored once; each tile keeps its own origin, caption
// and number, and a list is told of each tile added and of the clearing.
TEST(TileCollection, sharesIdenticalCellsAndTellsItsListener) {
    struct Log final : TileListener {
        std::vector<std::string> events;
        void tilesAppended(std::size_t first, std::size_t count) override {
            events.push_back("+" + std::to_string(first) + "x" + std::to_string(count));
        }
        void tilesCleared() override { events.push_back("clear"); }
    } log;
    TileCollection tiles;
    tiles.setListener(&log);
    const auto file = std::make_shared<const std::filesystem::path>("app.exe");
    const struct {
        std::uint32_t colour;
        std::uint32_t background;
    } added[] = {
        {0x123456, 0xFFFFFF}, {0x654321, 0xFFFFFF}, {0x123456, 0xFFFFFF}, {0x123456, 0x000000}};
    for (std::uint32_t i = 0; i < 4; ++i)
        ASSERT_TRUE(tiles.append(i, solid(added[i].colour), added[i].background, {file, i}));
    EXPECT_FALSE(tiles.append(2, solid(0), 0xFFFFFF, {file, 9}));

    EXPECT_EQ(tiles.at(0).cell, tiles.at(2).cell);
    EXPECT_NE(tiles.at(0).cell, tiles.at(3).cell);
    EXPECT_EQ(tiles.at(3).background, 0x000000u);
    EXPECT_EQ(tiles.cell(1).pixel(31, 31), 0x654321u);
    EXPECT_EQ(tiles.origin(2).index, 2u);
    EXPECT_EQ(tiles.caption(2), "图标3");

    // Cells of a denser screen's size are kept per tile and shared alike.
    using State = TileCollection::SizedCell::State;
    for (std::uint32_t i = 0; i < 3; ++i)
        tiles.setCellAt(i, 64, Surface::filled(64, 64, added[i].colour));
    tiles.setCellAt(3, 64, std::nullopt);
    EXPECT_EQ(tiles.cellAt(0, 64).cell, tiles.cellAt(2, 64).cell);
    EXPECT_NE(tiles.cellAt(0, 64).cell, tiles.cellAt(1, 64).cell);
    EXPECT_EQ(tiles.cellAt(1, 64).cell->pixel(63, 63), 0x654321u);
    EXPECT_EQ(tiles.cellAt(3, 64).state, State::Unavailable);
    EXPECT_EQ(tiles.cellAt(0, 48).state, State::Missing);
    EXPECT_EQ(tiles.cellAt(1, 32).cell, tiles.at(1).cell);
    tiles.keepSizes(48);
    EXPECT_EQ(tiles.cellAt(0, 64).state, State::Missing);
    tiles.clear();
    EXPECT_TRUE(tiles.empty());
    EXPECT_EQ(log.events, (std::vector<std::string>{"+0x1", "+1x1", "+2x1", "+3x1", "clear"}));
}

} // namespace
} // namespace orvu
