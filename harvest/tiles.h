#pragma once

#include "harvest/harvest_window.h"

#include <string>

namespace orvu {

// "图标" followed by the tile's image number.
std::string tileText(std::size_t imageNumber);

// Binds the collection to the list and appends a tile for every image that
// has none yet, so that the list holds 图标1 … 图标n for the n images, tile i
// showing image i.
void rebuildTiles(HarvestWindow& window);

} // namespace orvu
