#include "controls/tile_grid.h"

#include <algorithm>

namespace orvu {

TileGrid::TileGrid(QSize tileSize, int width, int count)
    : m_tileSize(tileSize.expandedTo(QSize(1, 1))), m_count(std::max(0, count)),
      m_columns(std::max(1, width / m_tileSize.width())) {}

int TileGrid::rows() const {
    return (m_count + m_columns - 1) / m_columns;
}

int TileGrid::contentHeight() const {
    return rows() * m_tileSize.height();
}

QRect TileGrid::tileRect(int index) const {
    if (index < 0 || index >= m_count)
        return {};
    return QRect(
        QPoint((index % m_columns) * m_tileSize.width(), (index / m_columns) * m_tileSize.height()),
        m_tileSize);
}

int TileGrid::tileAt(QPoint point) const {
    if (point.x() < 0 || point.y() < 0)
        return -1;
    const int column = point.x() / m_tileSize.width();
    if (column >= m_columns)
        return -1;
    const long long index =
        static_cast<long long>(point.y() / m_tileSize.height()) * m_columns + column;
    return index < m_count ? static_cast<int>(index) : -1;
}

TileGrid::Range TileGrid::tilesInBand(int top, int bottom) const {
    if (bottom < top || bottom < 0 || m_count == 0)
        return {};
    const int firstRow = std::max(0, top) / m_tileSize.height();
    const int lastRow = bottom / m_tileSize.height();
    const long long first = static_cast<long long>(firstRow) * m_columns;
    const long long last = (static_cast<long long>(lastRow) + 1) * m_columns;
    return Range{static_cast<int>(std::min<long long>(first, m_count)),
                 static_cast<int>(std::min<long long>(last, m_count))};
}

} // namespace orvu
