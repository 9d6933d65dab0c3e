#include "harvest/file_harvest.h"

#include "export/icon_cell.h"
#include "harvest/messages.h"

namespace orvu {
namespace {

// On a denser screen the preview shows tile i's icon (icon k of the file)
// drawn at the screen's size, which also becomes the tile's cell of that
// size; where it can't be drawn, the harvested cell.
void showSharp(HarvestWindow& window, const FileIcons& icons, std::uint32_t k, std::size_t i,
               int size) {
    auto drawn = icons.drawAt ? icons.drawAt(k, size, window.previewBackground())
                              : Result<Surface>(Failure{Failure::Kind::NoSuchIcon, {}});
    if (!drawn) {
        window.refreshPreview();
        window.tiles().setCellAt(i, size, std::nullopt);
        return;
    }
    window.showSharpPreview(*drawn);
    window.tiles().setCellAt(i, size, std::move(*drawn));
}

} // namespace

bool harvestIcons(HarvestWindow& window, HarvestPace& pace, const FileIcons& icons) {
    TileCollection& tiles = window.tiles();
    // At CellSize the preview is repainted at every icon. On a denser screen
    // it shows the icon drawn for it, but only whenever the window is let
    // handle its events and at the end, which is all that can be seen of it,
    // and the tiles are drawn at that size when they are painted.
    const int size = window.pictureSize();
    for (std::uint32_t k = 0; k < icons.count; ++k) {
        if (tiles.size() >= window.tileLimit()) {
            window.reportProblem(messages::tileLimitReached(window.tileLimit()));
            return false;
        }
        const auto icon = icons.iconAt(k);
        IconCell cell =
            renderCell(window.previewImage(), window.previewBackground(), icon ? &*icon : nullptr);
        if (size == CellSize)
            window.refreshPreview();
        const TileCollection::Key key = icons.keyFor(k);
        if (!tiles.append(key, std::move(cell), window.previewBackground(),
                          IconOrigin{icons.file, k, TileKind::Icon})) {
            window.reportProblem(messages::keyTaken(TileCollection::keyText(key), *icons.file));
            return false;
        }
        const bool last = k + 1 == icons.count;
        const bool yielding = !last && pace.due();
        if (size != CellSize && (last || yielding))
            showSharp(window, icons, k, tiles.size() - 1, size);
        if (yielding && !pace.yield())
            return false;
    }
    return true;
}

} // namespace orvu
