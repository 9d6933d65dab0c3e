#pragma once

#include "icons/icon_drawing.h"
#include "icons/icon_library.h"
#include "icons/result.h"

#include <cstdint>

namespace orvu {

// Icon k as Windows draws it at size x size: the icon loaded at that size
// (IconLibrary::iconAt) drawn through its mask or alpha onto a size x size
// surface of `background` (0x00RRGGBB). At LargeIconSize it is a tile's
// picture; at 48 or 64, the picture of a tile on a screen of 1.5 or 2
// device pixels a pixel. Fails where iconAt fails.
Result<Surface> drawIconAt(IconLibrary& library, std::uint32_t k, int size,
                           std::uint32_t background);

} // namespace orvu
