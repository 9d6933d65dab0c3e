// The details window's grid: which images share a row and where each goes.

#include "app/image_flow.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

TEST(ImageFlow, smallCellsShareRowsAndLargeOnesStandAlone) {
    const FlowCell small{QSize(40, 20)};
    const FlowCell tall{QSize(40, 50)};
    const FlowCell large{QSize(50, 60), true};
    const FlowCell wide{QSize(150, 20)};
    const struct {
        const char* what;
        std::vector<FlowCell> cells;
        std::vector<QRect> placed; // each as tall as its row
        int height;
    } cases[] = {
        {"nothing", {}, {}, 0},
        {"two fit, the third wraps",
         {small, small, small},
         {QRect(0, 0, 40, 20), QRect(50, 0, 40, 20), QRect(0, 30, 40, 20)},
         50},
        {"a row as tall as its tallest",
         {small, tall, small},
         {QRect(0, 0, 40, 50), QRect(50, 0, 40, 50), QRect(0, 60, 40, 20)},
         80},
        {"a large one alone between small ones",
         {small, large, small, small},
         {QRect(0, 0, 40, 20), QRect(0, 30, 50, 60), QRect(0, 100, 40, 20), QRect(50, 100, 40, 20)},
         120},
        {"wider than the grid", {wide, small}, {QRect(0, 0, 150, 20), QRect(0, 30, 40, 20)}, 50},
    };
    for (const auto& c : cases) {
        const FlowLayout layout = flowCells(c.cells, 100, 10);
        EXPECT_EQ(layout.cells, c.placed) << c.what;
        EXPECT_EQ(layout.height, c.height) << c.what;
    }
}

} // namespace
} // namespace orvu
