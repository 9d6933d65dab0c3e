#include "harvest/file_harvest.h"

#include "export/icon_cell.h"
#include "harvest/messages.h"

#include <optional>

namespace orvu {
namespace {

// The cell drawn on the window's preview surface, which is repainted at
// once; on a denser screen the preview shows icon k drawn at its size, which
// is kept in `sharp` (nullopt where it can't be drawn).
IconCell renderCell(HarvestWindow& window, const FileIcons& icons, std::uint32_t k,
                    const IconBitmap* icon, std::optional<IconCell>& sharp) {
    IconCell cell = renderCell(window.previewImage(), window.previewBackground(), icon);
    const int size = window.pictureSize();
    if (size == CellSize || !icons.drawAt) {
        window.refreshPreview();
        return cell;
    }
    auto drawn = icons.drawAt(k, size, window.previewBackground());
    if (drawn) {
        sharp = std::move(*drawn);
        window.showSharpPreview(*sharp);
    } else {
        window.refreshPreview();
    }
    return cell;
}

} // namespace

bool harvestIcons(HarvestWindow& window, HarvestPace& pace, const FileIcons& icons) {
    TileCollection& tiles = window.tiles();
    for (std::uint32_t k = 0; k < icons.count; ++k) {
        if (tiles.size() >= window.tileLimit()) {
            window.reportProblem(messages::tileLimitReached(window.tileLimit()));
            return false;
        }
        const auto icon = icons.iconAt(k);
        std::optional<IconCell> sharp;
        IconCell cell = renderCell(window, icons, k, icon ? &*icon : nullptr, sharp);
        const TileCollection::Key key = icons.keyFor(k);
        if (!tiles.append(key, std::move(cell), window.previewBackground(),
                          IconOrigin{icons.file, k, TileKind::Icon})) {
            window.reportProblem(messages::keyTaken(TileCollection::keyText(key), *icons.file));
            return false;
        }
        if (window.pictureSize() != CellSize)
            tiles.setCellAt(tiles.size() - 1, window.pictureSize(), std::move(sharp));
        if (k + 1 < icons.count && pace.due() && !pace.yield())
            return false;
    }
    return true;
}

} // namespace orvu
