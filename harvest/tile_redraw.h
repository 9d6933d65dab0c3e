#pragma once

#include "harvest/icon_origin.h"
#include "harvest/tile_collection.h"
#include "icons/icon_library.h"
#include "icons/png_decoder.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <unordered_set>
#include <vector>

namespace orvu {

// The tile's icon drawn at size x size on `background`, as Windows draws it
// at that size (drawIconAt; a cursor tile's cursor by drawCursorAt, an
// animated one at its first step), from a library open on the tile's file.
Result<IconCell> drawTileAt(IconLibrary& library, const IconOrigin& origin, int size,
                            std::uint32_t background);

// Draws tiles' cells at another size than the harvest's, from their
// origins, when they are asked for and a few at a time, so that a window on
// a denser screen shows sharp tiles without stalling: the tiles it paints
// ask first, and a tile never asked for is never drawn. A tile whose icon
// can't be drawn any more (its file changed or went) keeps its harvested
// cell.
class TileRedraw {
public:
    TileRedraw(TileCollection& tiles, const PngDecoder* png) : m_tiles(tiles), m_png(png) {}

    // The size tiles are drawn at; setting another one forgets the tiles
    // asked for and the cells of other sizes.
    int size() const { return m_size; }
    void setSize(int size);

    // Asks for tile i at size(), unless it is drawn, known not drawable or
    // already asked for.
    void request(std::size_t i);
    bool pending() const { return !m_queue.empty(); }
    // Draws the tiles asked for, in the order asked, until `budget` has
    // passed (at least one); the tiles drawn or found not drawable.
    std::vector<std::size_t> drawFor(std::chrono::milliseconds budget);
    // Forgets what was asked for (the tiles were cleared).
    void clear();

private:
    void drawOne(std::size_t i);

    TileCollection& m_tiles;
    const PngDecoder* m_png;
    int m_size = CellSize;
    std::deque<std::size_t> m_queue;
    std::unordered_set<std::size_t> m_queued;
    // The file of the last tile drawn, open while its other tiles follow.
    std::shared_ptr<const std::filesystem::path> m_openFile;
    std::optional<Result<IconLibrary>> m_library;
};

} // namespace orvu
