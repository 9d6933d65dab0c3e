#include "harvest/file_harvest.h"

#include "export/icon_cell.h"
#include "harvest/messages.h"

namespace orvu {
namespace {

// The cell drawn on the window's preview surface, which is repainted at once.
IconCell renderCell(HarvestWindow& window, const IconBitmap* icon) {
    IconCell cell = renderCell(window.previewImage(), window.previewBackground(), icon);
    window.refreshPreview();
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
        IconCell cell = renderCell(window, icon ? &*icon : nullptr);
        const TileCollection::Key key = icons.keyFor(k);
        if (!tiles.append(key, std::move(cell), window.previewBackground(),
                          IconOrigin{icons.file, k, TileKind::Icon})) {
            window.reportProblem(messages::keyTaken(TileCollection::keyText(key), *icons.file));
            return false;
        }
        if (k + 1 < icons.count && pace.due() && !pace.yield())
            return false;
    }
    return true;
}

} // namespace orvu
