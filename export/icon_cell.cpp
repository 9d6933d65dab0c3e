#include "export/icon_cell.h"

#include <algorithm>

namespace orvu {
namespace {

IconCell captureCell(const Surface& surface, std::uint32_t background) {
    IconCell cell = Surface::filled(CellSize, CellSize, background);
    const auto width = static_cast<std::size_t>(std::min(CellSize, surface.width));
    for (int y = 0; y < std::min(CellSize, surface.height); ++y) {
        std::copy_n(surface.pixels.begin() + static_cast<std::ptrdiff_t>(y) * surface.width, width,
                    cell.pixels.begin() + static_cast<std::ptrdiff_t>(y) * CellSize);
    }
    return cell;
}

} // namespace

IconCell renderCell(Surface& preview, std::uint32_t background, const IconBitmap* icon) {
    std::fill(preview.pixels.begin(), preview.pixels.end(), background & 0xFFFFFF);
    if (icon)
        drawIcon(preview, *icon);
    return captureCell(preview, background);
}

} // namespace orvu
