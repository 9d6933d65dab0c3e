#include "harvest/image_grid.h"

#include <algorithm>

namespace orvu::imageGrid {

design::Size pictureRoom(int width, int height) {
    return {std::clamp(width, 1, MaxShownSide), std::clamp(height, 1, MaxShownSide)};
}

bool standsAlone(design::Size room) {
    return std::max(room.width, room.height) > LargeSide;
}

Layout flow(const std::vector<Cell>& cells, int width, int gap) {
    Layout layout;
    layout.cells.reserve(cells.size());
    int x = 0;
    int top = 0;
    bool rowAlone = false;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const Cell& cell = cells[i];
        const bool startsRow =
            layout.rows.empty() || rowAlone || cell.alone || x + cell.size.width > width;
        if (startsRow) {
            if (!layout.rows.empty())
                top += layout.rows.back().height + gap;
            layout.rows.push_back(Row{top, 0, i});
            x = 0;
        }
        rowAlone = cell.alone;
        layout.cells.push_back(design::Rect{x, top, cell.size.width, cell.size.height});
        layout.rows.back().height = std::max(layout.rows.back().height, cell.size.height);
        x += cell.size.width + gap;
    }
    layout.height = layout.rows.empty() ? 0 : top + layout.rows.back().height;
    for (std::size_t r = 0; r < layout.rows.size(); ++r) {
        const std::size_t end =
            r + 1 < layout.rows.size() ? layout.rows[r + 1].first : cells.size();
        for (std::size_t i = layout.rows[r].first; i < end; ++i)
            layout.cells[i].height = layout.rows[r].height;
    }
    return layout;
}

} // namespace orvu::imageGrid
