#include "icon_cell.h"

#include <algorithm>

namespace orvu {

IconCell captureCell(const Surface& surface, std::uint32_t background) {
    IconCell cell = Surface::filled(CellSize, CellSize, background);
    for (int y = 0; y < std::min(CellSize, surface.height); ++y) {
        for (int x = 0; x < std::min(CellSize, surface.width); ++x)
            cell.pixels[static_cast<std::size_t>(y * CellSize + x)] = surface.pixel(x, y);
    }
    return cell;
}

IconCell renderIconCell(HarvestWindow& window, const std::optional<IconBitmap>& icon) {
    Surface& preview = window.previewImage();
    const std::uint32_t background = window.previewBackground();
    std::fill(preview.pixels.begin(), preview.pixels.end(), background & 0xFFFFFF);
    if (icon)
        drawIcon(preview, *icon);
    window.refreshPreview();
    return captureCell(preview, background);
}

} // namespace orvu
