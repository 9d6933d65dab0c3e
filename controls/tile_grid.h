#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace orvu {

// Where the tiles of a large-icon list lie: tiles of one size, left to right
// in as many columns as fit the width (at least one), then row after row.
// Everything is arithmetic, so the cost doesn't depend on the tile count.
// Coordinates are relative to the top-left of the whole content.
class TileGrid {
public:
    TileGrid(QSize tileSize, int width, int count);

    int count() const { return m_count; }
    int columns() const { return m_columns; }
    int rows() const;
    int contentHeight() const;

    // The rectangle of tile `index` (0-based); an empty one outside 0..count-1.
    QRect tileRect(int index) const;
    // The tile under a point, or -1 where there is none.
    int tileAt(QPoint point) const;

    // The tiles that overlap the rows crossing the band from `top` to
    // `bottom` (inclusive) as [first, last): first == last when none do.
    struct Range {
        int first = 0;
        int last = 0;
    };
    Range tilesInBand(int top, int bottom) const;

private:
    QSize m_tileSize;
    int m_count = 0;
    int m_columns = 1;
};

} // namespace orvu
