#include "harvest/tile_collection.h"

#include "harvest/tiles.h"

#include <algorithm>
#include <string_view>

namespace orvu {
namespace {

std::size_t hashOf(const IconCell& cell, std::uint32_t background) {
    const std::string_view bytes(reinterpret_cast<const char*>(cell.pixels.data()),
                                 cell.pixels.size() * sizeof(std::uint32_t));
    return std::hash<std::string_view>{}(bytes) ^ background;
}

} // namespace

bool TileCollection::append(Key key, IconCell cell, std::uint32_t background, IconOrigin origin) {
    if (keyTaken(key))
        return false;
    addKey(key);
    add(Entry{m_cells.store(std::move(cell), background), ++m_icons, std::move(origin)});
    return true;
}

void TileCollection::appendCursor(IconCell cell, std::uint32_t background, IconOrigin origin) {
    add(Entry{m_cells.store(std::move(cell), background), ++m_cursors, std::move(origin)});
}

void TileCollection::add(Entry entry) {
    m_tiles.push_back(std::move(entry));
    if (m_listener)
        m_listener->tilesAppended(m_tiles.size() - 1, 1);
}

void TileCollection::clear() {
    m_tiles.clear();
    m_cells = {};
    m_sized.clear();
    m_keys.clear();
    m_icons = 0;
    m_cursors = 0;
    if (m_listener)
        m_listener->tilesCleared();
}

const IconCell& TileCollection::cell(std::size_t i) const {
    return *m_cells.cells[m_tiles[i].cell].cell;
}

Tile TileCollection::at(std::size_t i) const {
    const StoredCell& stored = m_cells.cells[m_tiles[i].cell];
    return Tile{stored.cell, stored.background, m_tiles[i].origin};
}

std::string TileCollection::caption(std::size_t i) const {
    const Entry& tile = m_tiles[i];
    return tile.origin.kind == GroupKind::Icon ? tileText(tile.number)
                                               : cursorTileText(tile.number);
}

std::string TileCollection::key(std::size_t i) const {
    if (m_tiles[i].origin.kind != GroupKind::Icon)
        return "cursor" + std::to_string(m_tiles[i].number);
    // The last run that begins at or before tile i holds it.
    const auto run =
        std::upper_bound(m_keys.begin(), m_keys.end(), i,
                         [](std::size_t tile, const KeyRun& r) { return tile < r.firstTile; });
    const KeyRun& holding = *std::prev(run);
    return keyText(holding.firstKey + static_cast<Key>(i - holding.firstTile));
}

bool TileCollection::keyTaken(Key key) const {
    return std::any_of(m_keys.begin(), m_keys.end(), [key](const KeyRun& run) {
        return key >= run.firstKey && key - run.firstKey < static_cast<Key>(run.count);
    });
}

void TileCollection::addKey(Key key) {
    // A run goes on only where neither its keys nor its tiles skip one (a
    // cursor tile between two icon tiles).
    if (!m_keys.empty() && m_keys.back().firstKey + static_cast<Key>(m_keys.back().count) == key &&
        m_keys.back().firstTile + m_keys.back().count == m_tiles.size()) {
        ++m_keys.back().count;
        return;
    }
    m_keys.push_back(KeyRun{m_tiles.size(), key, 1});
}

TileCollection::SizedCell TileCollection::cellAt(std::size_t i, int size) const {
    using State = SizedCell::State;
    if (size == CellSize)
        return {State::Drawn, m_cells.cells[m_tiles[i].cell].cell};
    const auto sized = m_sized.find(size);
    if (sized == m_sized.end() || i >= sized->second.ofTile.size() || sized->second.ofTile[i] == 0)
        return {};
    const std::uint32_t at = sized->second.ofTile[i];
    if (at == SizedCells::Unavailable)
        return {State::Unavailable, nullptr};
    return {State::Drawn, sized->second.pool.cells[at - 1].cell};
}

void TileCollection::setCellAt(std::size_t i, int size, std::optional<IconCell> cell) {
    if (i >= m_tiles.size() || size == CellSize || (cell && cell->width != size))
        return;
    SizedCells& sized = m_sized[size];
    if (sized.ofTile.size() < m_tiles.size())
        sized.ofTile.resize(m_tiles.size(), 0);
    sized.ofTile[i] =
        cell ? 1 + sized.pool.store(std::move(*cell), m_cells.cells[m_tiles[i].cell].background)
             : SizedCells::Unavailable;
}

void TileCollection::keepSizes(int keep) {
    std::erase_if(m_sized, [keep](const auto& sized) { return sized.first != keep; });
}

std::uint32_t TileCollection::CellPool::store(IconCell cell, std::uint32_t background) {
    const std::size_t hash = hashOf(cell, background);
    const auto [first, last] = byHash.equal_range(hash);
    for (auto it = first; it != last; ++it) {
        const StoredCell& stored = cells[it->second];
        if (stored.background == background && stored.cell->width == cell.width &&
            stored.cell->pixels == cell.pixels)
            return it->second;
    }
    const auto id = static_cast<std::uint32_t>(cells.size());
    cells.push_back(StoredCell{std::make_shared<const IconCell>(std::move(cell)), background});
    byHash.emplace(hash, id);
    return id;
}

} // namespace orvu
