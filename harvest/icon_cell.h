#pragma once

#include "harvest_window.h"
#include "icon_bitmap.h"

#include <optional>

namespace orvu {

// RenderIconCell: clears the preview surface to its background, draws the
// icon (nothing for a missing one) at its top-left corner, repaints the
// surface at once and returns its top-left CellSize x CellSize pixels.
IconCell renderIconCell(HarvestWindow& window, const std::optional<IconBitmap>& icon);

// The top-left CellSize x CellSize pixels of a surface (background where
// the surface is smaller).
IconCell captureCell(const Surface& surface, std::uint32_t background);

} // namespace orvu
