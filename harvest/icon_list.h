#pragma once

#include "harvest_window.h"

#include <string>

namespace orvu {

// "图标" followed by the tile's image number.
std::string tileText(std::size_t imageNumber);

// RebuildIconList: binds the collection to the list and appends a tile for
// every image that has none yet, so that the list holds 图标1 … 图标n for
// the n images, tile i showing image i.
void rebuildIconList(HarvestWindow& window);

} // namespace orvu
