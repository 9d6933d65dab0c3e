#pragma once

#include "export/icon_cell.h"
#include "harvest/icon_origin.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
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
// A tile may also have cells of other sizes than CellSize (its icon drawn at
// 48 or 64 pixels for a denser screen), drawn later from its origin and
// shared in the same way, a pool per size.
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

    // Tile i's cell at size x size pixels, as far as it is known: Missing
    // when not drawn at that size yet, Unavailable when it can't be (the
    // tile then shows its CellSize cell). At CellSize, the harvested cell.
    struct SizedCell {
        enum class State : std::uint8_t { Missing, Drawn, Unavailable } state = State::Missing;
        std::shared_ptr<const IconCell> cell;
    };
    SizedCell cellAt(std::size_t i, int size) const;
    // Stores tile i's cell at the cell's size; nullopt marks the tile as not
    // drawable at `size`.
    void setCellAt(std::size_t i, int size, std::optional<IconCell> cell);
    // Forgets every cell of another size than CellSize and `keep`.
    void keepSizes(int keep);

    static std::string keyText(Key key) { return "my" + std::to_string(key); }

    // The one listener (nullptr for none); it must outlive the collection or
    // unset itself.
    void setListener(TileListener* listener) { m_listener = listener; }

private:
    struct StoredCell {
        std::shared_ptr<const IconCell> cell;
        std::uint32_t background = 0;
    };
    // Cells with the same pixels and background stored once.
    struct CellPool {
        std::vector<StoredCell> cells;
        std::unordered_multimap<std::size_t, std::uint32_t> byHash;
        // The stored cell with these pixels and background, stored now if new.
        std::uint32_t store(IconCell cell, std::uint32_t background);
    };
    // The cells of one other size: per tile, 0 while missing, Unavailable,
    // or 1 + its place in the pool.
    struct SizedCells {
        static constexpr std::uint32_t Unavailable = 0xFFFFFFFF;
        std::vector<std::uint32_t> ofTile;
        CellPool pool;
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

    std::vector<Entry> m_tiles;
    CellPool m_cells;
    std::map<int, SizedCells> m_sized;
    std::vector<KeyRun> m_keys;
    std::uint32_t m_icons = 0;
    std::uint32_t m_cursors = 0;
    TileListener* m_listener = nullptr;
};

} // namespace orvu
