#include "app/image_flow.h"

#include <algorithm>

namespace orvu {

FlowLayout flowCells(const std::vector<FlowCell>& cells, int width, int gap) {
    FlowLayout layout;
    layout.cells.reserve(cells.size());
    int x = 0;
    int top = 0;
    bool rowAlone = false;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const FlowCell& cell = cells[i];
        const bool startsRow =
            layout.rows.empty() || rowAlone || cell.alone || x + cell.size.width() > width;
        if (startsRow) {
            if (!layout.rows.empty())
                top += layout.rows.back().height + gap;
            layout.rows.push_back(FlowRow{top, 0, i});
            x = 0;
        }
        rowAlone = cell.alone;
        layout.cells.emplace_back(QPoint(x, top), cell.size);
        layout.rows.back().height = std::max(layout.rows.back().height, cell.size.height());
        x += cell.size.width() + gap;
    }
    layout.height = layout.rows.empty() ? 0 : top + layout.rows.back().height;
    for (std::size_t r = 0; r < layout.rows.size(); ++r) {
        const std::size_t end =
            r + 1 < layout.rows.size() ? layout.rows[r + 1].first : cells.size();
        for (std::size_t i = layout.rows[r].first; i < end; ++i)
            layout.cells[i].setHeight(layout.rows[r].height);
    }
    return layout;
}

} // namespace orvu
