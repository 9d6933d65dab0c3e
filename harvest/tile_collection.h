#pragma once

#include "export/icon_cell.h"
#include "harvest/icon_origin.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvu {

// One tile as it is handed out: the cell it shows, the colour (0xRRGGBB)
// the cell was drawn on, and where its icon came from. The cell is shared
// with the collection, never copied.
struct Tile {
    std::shared_ptr<const IconCell> cell;
    std::uint32_t background = 0xFFFFFF;
    IconOrigin origin;
};

// Told of every change of a TileCollection, after it happened.
class TileListener {
public:
    virtual ~TileListener() = default;
    // Tiles first … first + count - 1 were appended.
    virtual void tilesAppended(std::size_t first, std::size_t count) = 0;
    virtual void tilesCleared() = 0;
};

// The harvested tiles, in the order they were harvested, numbered from 0:
// each tile's cell, where its icon came from, its caption and the key it was
// added under. Tiles are only ever appended, or all cleared.
//
// Icon tiles and cursor tiles (cursors and animated ones) are numbered apart,
// each from 1 among its own: "Icon 3", "Cursor 2". Cursors never take an
// icon's number or key, so the icons are numbered and keyed the same whether
// cursors are harvested with them or not.
//
// Cells with the same pixels are stored once and shared: real folders repeat
// the same icons across many executables, and a hostile file may repeat one
// image thousands of times. A tile itself costs a few dozen bytes.
//
// The key is the design's: "my" and a number, unique in the collection (the
// icon's index for a single file, the running folder key for a folder);
// adding under a key the collection holds fails. Keys come in runs of
// consecutive numbers, so they are kept as runs.
class TileCollection {
public:
    using Key = std::int64_t;

    // Appends an icon tile; false, and nothing added, when the key is taken.
    bool append(Key key, IconCell cell, std::uint32_t background, IconOrigin origin);
    // Appends a cursor tile (origin.kind Cursor or Animated), keyed "cursor"
    // and its number.
    void appendCursor(IconCell cell, std::uint32_t background, IconOrigin origin);
    void clear();

    std::size_t size() const { return m_tiles.size(); }
    bool empty() const { return m_tiles.empty(); }
    // Tile i (i < size()).
    const IconCell& cell(std::size_t i) const;
    const IconOrigin& origin(std::size_t i) const { return m_tiles[i].origin; }
    Tile at(std::size_t i) const;
    // The word for the tile's kind and its number among its kind, counted
    // from 1 ("Icon 3", "Cursor 1").
    std::string caption(std::size_t i) const;
    // "my0", "my17"; a cursor tile's "cursor1".
    std::string key(std::size_t i) const;
    // How many different cells the tiles show.
    std::size_t distinctCells() const { return m_cells.size(); }

    static std::string keyText(Key key) { return "my" + std::to_string(key); }

    // The one listener (nullptr for none); it must outlive the collection or
    // unset itself.
    void setListener(TileListener* listener) { m_listener = listener; }

private:
    struct StoredCell {
        std::shared_ptr<const IconCell> cell;
        std::uint32_t background = 0;
    };
    struct Entry {
        std::uint32_t cell = 0;   // in m_cells
        std::uint32_t number = 0; // among the icon tiles, or among the cursor tiles, from 1
        IconOrigin origin;
    };
    // Tiles firstTile … firstTile + count - 1 have keys firstKey, firstKey + 1, ….
    struct KeyRun {
        std::size_t firstTile = 0;
        Key firstKey = 0;
        std::size_t count = 0;
    };

    bool keyTaken(Key key) const;
    void add(Entry entry);
    void addKey(Key key);
    // The stored cell with these pixels and background, stored now if new.
    std::uint32_t storedCell(IconCell cell, std::uint32_t background);

    std::vector<Entry> m_tiles;
    std::vector<StoredCell> m_cells;
    std::unordered_multimap<std::size_t, std::uint32_t> m_cellsByHash;
    std::vector<KeyRun> m_keys;
    std::uint32_t m_icons = 0;
    std::uint32_t m_cursors = 0;
    TileListener* m_listener = nullptr;
};

} // namespace orvu
