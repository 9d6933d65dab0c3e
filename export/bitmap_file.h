#pragma once

#include "icons/icon_drawing.h"

#include <cstdint>
#include <vector>

namespace orvu {

// A picture (a tile's cell) as a Windows bitmap file: 24 bits per pixel,
// rows bottom-up.
std::vector<std::uint8_t> encodeBitmapFile(const Surface& picture);

} // namespace orvu
