#pragma once

#include <QRect>
#include <QSize>
#include <vector>

namespace orvu {

// A flowing grid of cells: left to right while they fit in `width`, then on
// a new row, each row as tall as its tallest cell and `gap` apart from the
// next row and cell. A cell marked alone has a row of its own (a large
// picture), as has a cell wider than `width`.
struct FlowCell {
    QSize size;
    bool alone = false;
};

struct FlowRow {
    int top = 0;
    int height = 0;
    std::size_t first = 0; // its first cell
};

struct FlowLayout {
    // In the order given, from (0, 0), each as tall as its row.
    std::vector<QRect> cells;
    std::vector<FlowRow> rows;
    int height = 0;
};

FlowLayout flowCells(const std::vector<FlowCell>& cells, int width, int gap);

} // namespace orvu
