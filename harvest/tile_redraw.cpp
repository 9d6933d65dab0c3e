#include "harvest/tile_redraw.h"

#include "icons/cursor_at_size.h"
#include "icons/icon_at_size.h"
#include "platform/icon_files.h"

namespace orvu {

Result<IconCell> drawTileAt(IconLibrary& library, const IconOrigin& origin, int size,
                            std::uint32_t background) {
    if (origin.index >= library.count(origin.group().kind))
        return Failure{Failure::Kind::Changed, {}};
    if (origin.kind == GroupKind::Icon)
        return drawIconAt(library, origin.index, size, background);
    auto cursor = drawCursorAt(library, origin.group(), size, background);
    if (!cursor)
        return cursor.failure();
    return std::move(cursor->surface);
}

void TileRedraw::setSize(int size) {
    if (size == m_size)
        return;
    m_size = size;
    m_tiles.keepSizes(size);
    clear();
}

void TileRedraw::request(std::size_t i) {
    if (m_size == CellSize || i >= m_tiles.size() ||
        m_tiles.cellAt(i, m_size).state != TileCollection::SizedCell::State::Missing ||
        !m_queued.insert(i).second)
        return;
    m_queue.push_back(i);
}

std::vector<std::size_t> TileRedraw::drawFor(std::chrono::milliseconds budget) {
    const auto end = std::chrono::steady_clock::now() + budget;
    std::vector<std::size_t> drawn;
    while (!m_queue.empty() && (drawn.empty() || std::chrono::steady_clock::now() < end)) {
        const std::size_t i = m_queue.front();
        m_queue.pop_front();
        m_queued.erase(i);
        drawOne(i);
        drawn.push_back(i);
    }
    if (m_queue.empty()) { // nothing follows: let the file go
        m_library.reset();
        m_openFile.reset();
    }
    return drawn;
}

void TileRedraw::clear() {
    m_queue.clear();
    m_queued.clear();
    m_library.reset();
    m_openFile.reset();
}

void TileRedraw::drawOne(std::size_t i) {
    const Tile tile = m_tiles.at(i);
    if (!tile.origin.file) {
        m_tiles.setCellAt(i, m_size, std::nullopt);
        return;
    }
    if (!m_library || !m_openFile || *m_openFile != *tile.origin.file) {
        m_openFile = tile.origin.file;
        m_library.emplace(openIconLibrary(*tile.origin.file, m_png));
    }
    if (!*m_library) {
        m_tiles.setCellAt(i, m_size, std::nullopt);
        return;
    }
    auto cell = drawTileAt(**m_library, tile.origin, m_size, tile.background);
    m_tiles.setCellAt(i, m_size, cell ? std::optional<IconCell>(std::move(*cell)) : std::nullopt);
}

} // namespace orvu
