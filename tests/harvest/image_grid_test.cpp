// The details window's grid: which images share a row and where each goes.

#include "harvest/image_grid.h"

#include <gtest/gtest.h>
#include <tuple>

namespace orvu {
namespace {

using imageGrid::Cell;

std::vector<std::tuple<int, int, int, int>> places(const std::vector<design::Rect>& cells) {
    std::vector<std::tuple<int, int, int, int>> out;
    for (const design::Rect& r : cells)
        out.emplace_back(r.left, r.top, r.width, r.height);
    return out;
}

TEST(ImageGrid, smallCellsShareRowsAndLargeOnesStandAlone) {
    const Cell small{{40, 20}};
    const Cell tall{{40, 50}};
    const Cell large{{50, 60}, true};
    const Cell wide{{150, 20}};
    const struct {
        const char* what;
        std::vector<Cell> cells;
        std::vector<std::tuple<int, int, int, int>> placed; // each as tall as its row
        int height;
    } cases[] = {
        {"nothing", {}, {}, 0},
        {"two fit, the third wraps",
         {small, small, small},
         {{0, 0, 40, 20}, {50, 0, 40, 20}, {0, 30, 40, 20}},
         50},
        {"a row as tall as its tallest",
         {small, tall, small},
         {{0, 0, 40, 50}, {50, 0, 40, 50}, {0, 60, 40, 20}},
         80},
        {"a large one alone between small ones",
         {small, large, small, small},
         {{0, 0, 40, 20}, {0, 30, 50, 60}, {0, 100, 40, 20}, {50, 100, 40, 20}},
         120},
        {"wider than the grid", {wide, small}, {{0, 0, 150, 20}, {0, 30, 40, 20}}, 50},
    };
    for (const auto& c : cases) {
        const imageGrid::Layout layout = imageGrid::flow(c.cells, 100, 10);
        EXPECT_EQ(places(layout.cells), c.placed) << c.what;
        EXPECT_EQ(layout.height, c.height) << c.what;
    }
}

} // namespace
} // namespace orvu
