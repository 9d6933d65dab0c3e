#pragma once

#include "icons/icon_library.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace orvu {

// The image that a program scaling icons itself (a launcher, an icon theme)
// best starts from to show an icon at size x size, among the images the
// file holds: one of exactly that size, the deepest of those; or else the
// nearest larger one, the smallest whose width and height are both at least
// `size`, the deepest of those; or else the largest (the most pixels, then
// the deepest). The first in directory order on a tie. Nullopt where the
// file holds none of the images.
std::optional<std::size_t> bestImageFor(const std::vector<ImageDescription>& images, int size);

} // namespace orvu
