#pragma once

#include "icons/icon_bitmap.h"
#include "icons/result.h"

#include <cstdint>
#include <vector>

namespace orvu {

// An image as a PNG file: 8-bit RGBA with straight alpha, the pixels as
// IconBitmap holds them (0xAARRGGBB). The alpha channel is written as it is:
// give an image whose transparency is in it (see withAlphaChannel).
Result<std::vector<std::uint8_t>> encodePng(const IconBitmap& image);

} // namespace orvu
