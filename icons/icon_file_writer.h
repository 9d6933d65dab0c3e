#pragma once

#include "icons/icon_group.h"
#include "icons/result.h"

#include <cstdint>
#include <vector>

namespace orvu {

// An .ico file of the whole icon: an ICONDIR with one entry per image, in
// order, then each image's bytes exactly as the executable stores them (PNG
// images stay PNG). An entry keeps the group entry's width, height, colour
// count, planes and bit count; its byte count and offset are those of the
// image in the new file, and its reserved byte is 0. Fails for no images, and
// for more than an icon file can hold.
Result<std::vector<std::uint8_t>> writeIconFile(const std::vector<IconImage>& images);

// A .cur file of the whole cursor, laid out as writeIconFile lays out an
// icon: each entry holds its image's hotspot (none: 0, 0) where an icon
// file's has planes and bit count. An executable's cursor entry, whose size
// is 16-bit, gets the size Windows takes from it, 0 for 256 and more, and a
// colour count of 0.
Result<std::vector<std::uint8_t>> writeCursorFile(const std::vector<IconImage>& images);

} // namespace orvu
