#pragma once

#include "harvest/harvest_window.h"
#include "icons/icon_bitmap.h"

namespace orvu {

// Clears `preview` to `background`, draws the icon (nothing for a missing
// one) at its top-left corner and returns the top-left CellSize x CellSize
// pixels (background where the surface is smaller).
IconCell renderCell(Surface& preview, std::uint32_t background, const IconBitmap* icon);

// The same on the window's preview surface, which is repainted at once.
IconCell renderCell(HarvestWindow& window, const IconBitmap* icon);

} // namespace orvu
