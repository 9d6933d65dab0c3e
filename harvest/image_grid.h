#pragma once

#include "harvest/window_design.h"

#include <cstddef>
#include <vector>

// The details window's images as a flowing grid, in pixels
// (window_design.h): each image's picture above its label, a line for why
// it can't be shown and its save button; the small ones side by side, the
// large ones each on a row of its own. Every front end lays its sheet out
// by these rules.
namespace orvu::imageGrid {

inline constexpr int Margin = 9;         // around the grid
inline constexpr int Gap = 12;           // between cells and rows
inline constexpr int PictureGap = 4;     // between a picture and its label
inline constexpr int ButtonGap = 4;      // between the text lines and the button
inline constexpr int MaxShownSide = 256; // a larger picture is shown scaled down to this
inline constexpr int LargeSide = 96;     // a picture larger than this has a row of its own

// The room an image's picture gets: its size as its directory gives it,
// each side within 1 … MaxShownSide.
design::Size pictureRoom(int width, int height);
// Whether a picture of that room has a row of its own.
bool standsAlone(design::Size room);

// A flowing grid of cells: left to right while they fit in `width`, then on
// a new row, each row as tall as its tallest cell and `gap` apart from the
// next row and cell. A cell marked alone has a row of its own (a large
// picture), as has a cell wider than `width`.
struct Cell {
    design::Size size;
    bool alone = false;
};

struct Row {
    int top = 0;
    int height = 0;
    std::size_t first = 0; // its first cell
};

struct Layout {
    // In the order given, from (0, 0), each as tall as its row.
    std::vector<design::Rect> cells;
    std::vector<Row> rows;
    int height = 0;
};

Layout flow(const std::vector<Cell>& cells, int width, int gap);

} // namespace orvu::imageGrid
