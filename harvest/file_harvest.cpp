#include "harvest/file_harvest.h"

#include "export/icon_cell.h"
#include "harvest/messages.h"
#include "harvest/tiles.h"

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
    for (std::uint32_t k = 0; k < icons.count; ++k) {
        if (window.imageCount() >= window.tileLimit()) {
            rebuildTiles(window);
            window.reportProblem(messages::tileLimitReached(window.tileLimit()));
            return false;
        }
        const auto icon = icons.iconAt(k);
        const IconCell cell = renderCell(window, icon ? &*icon : nullptr);
        const std::string key = icons.keyFor(k);
        if (!window.addImage(key, cell, IconOrigin{icons.file, k})) {
            window.reportProblem(messages::keyTaken(key, *icons.file));
            return false;
        }
        if (k + 1 < icons.count && pace.due()) {
            rebuildTiles(window);
            if (!pace.yield())
                return false;
        }
    }
    return true;
}

} // namespace orvu
