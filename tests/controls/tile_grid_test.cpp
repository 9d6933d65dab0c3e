#include "controls/tile_grid.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

const QSize Tile(75, 64);

TEST(TileGrid, columns_areAsManyWholeTilesAsFitTheWidth) {
    EXPECT_EQ(TileGrid(Tile, 388, 100).columns(), 5);
    EXPECT_EQ(TileGrid(Tile, 375, 100).columns(), 5);
    EXPECT_EQ(TileGrid(Tile, 374, 100).columns(), 4);
    EXPECT_EQ(TileGrid(Tile, 40, 100).columns(), 1);
    EXPECT_EQ(TileGrid(Tile, 0, 100).columns(), 1);
}

TEST(TileGrid, tiles_runLeftToRightThenWrapToTheNextRow) {
    const TileGrid grid(Tile, 388, 12);
    EXPECT_EQ(grid.tileRect(0), QRect(0, 0, 75, 64));
    EXPECT_EQ(grid.tileRect(1), QRect(75, 0, 75, 64));
    EXPECT_EQ(grid.tileRect(4), QRect(300, 0, 75, 64));
    EXPECT_EQ(grid.tileRect(5), QRect(0, 64, 75, 64));
    EXPECT_EQ(grid.tileRect(11), QRect(75, 128, 75, 64));
    EXPECT_EQ(grid.rows(), 3);
    EXPECT_EQ(grid.contentHeight(), 192);
}

TEST(TileGrid, tilesOutsideTheList_haveNoRectangle) {
    const TileGrid grid(Tile, 388, 12);
    EXPECT_TRUE(grid.tileRect(12).isNull());
    EXPECT_TRUE(grid.tileRect(-1).isNull());
    EXPECT_EQ(TileGrid(Tile, 388, 0).contentHeight(), 0);
}

TEST(TileGrid, tileAt_findsTheTileUnderAPoint) {
    const TileGrid grid(Tile, 388, 12);
    EXPECT_EQ(grid.tileAt(QPoint(0, 0)), 0);
    EXPECT_EQ(grid.tileAt(QPoint(74, 63)), 0);
    EXPECT_EQ(grid.tileAt(QPoint(75, 63)), 1);
    EXPECT_EQ(grid.tileAt(QPoint(80, 70)), 6);
    EXPECT_EQ(grid.tileAt(QPoint(100, 150)), 11);
}

TEST(TileGrid, tileAt_findsNothingBesideOrBelowTheTiles) {
    const TileGrid grid(Tile, 388, 12);
    EXPECT_EQ(grid.tileAt(QPoint(380, 10)), -1);  // right of the last column
    EXPECT_EQ(grid.tileAt(QPoint(160, 150)), -1); // in the short last row
    EXPECT_EQ(grid.tileAt(QPoint(10, 200)), -1);  // below every row
    EXPECT_EQ(grid.tileAt(QPoint(-1, 10)), -1);
    EXPECT_EQ(grid.tileAt(QPoint(10, -1)), -1);
}

TEST(TileGrid, band_coversTheRowsItCrosses) {
    const TileGrid grid(Tile, 388, 12);
    EXPECT_EQ(grid.tilesInBand(0, 63).first, 0);
    EXPECT_EQ(grid.tilesInBand(0, 63).last, 5);
    EXPECT_EQ(grid.tilesInBand(60, 70).first, 0);
    EXPECT_EQ(grid.tilesInBand(60, 70).last, 10);
    EXPECT_EQ(grid.tilesInBand(130, 1000).first, 10);
    EXPECT_EQ(grid.tilesInBand(130, 1000).last, 12);
}

TEST(TileGrid, bandBelowTheTiles_coversNone) {
    const TileGrid grid(Tile, 388, 12);
    const TileGrid::Range below = grid.tilesInBand(400, 600);
    EXPECT_EQ(below.first, below.last);
    const TileGrid::Range empty = TileGrid(Tile, 388, 0).tilesInBand(0, 100);
    EXPECT_EQ(empty.first, empty.last);
}

TEST(TileGrid, millionsOfTiles_areLaidOutWithoutOverflow) {
    constexpr int Count = 3'000'001; // the last tile opens a row
    const TileGrid grid(Tile, 388, Count);
    const QRect last = grid.tileRect(Count - 1);
    EXPECT_EQ(last, QRect(0, (Count - 1) / 5 * 64, 75, 64));
    EXPECT_EQ(grid.tileAt(last.center()), Count - 1);
    const TileGrid::Range band = grid.tilesInBand(last.top(), last.bottom());
    EXPECT_EQ(band.first, Count - 1);
    EXPECT_EQ(band.last, Count);
}

} // namespace
} // namespace orvu
