#pragma once

#include "icons/icon_bitmap.h"
#include "icons/icon_drawing.h"

#include <cstdint>

namespace orvu {

// A harvested icon as a tile shows it: the top-left CellSize x CellSize
// pixels of the preview surface after the icon was drawn on it.
using IconCell = Surface;

inline constexpr int CellSize = 32;
// The preview surface is a pixel larger than the cell it is captured into.
inline constexpr int PreviewSize = 33;

// Clears `preview` to `background`, draws the icon (nothing for a missing
// one) at its top-left corner and returns the top-left CellSize x CellSize
// pixels (background where the surface is smaller).
IconCell renderCell(Surface& preview, std::uint32_t background, const IconBitmap* icon);

} // namespace orvu
