#pragma once

#include "harvest/harvest_window.h"

#include <string>

namespace orvu {

// A tile's caption: a word for "icon" and the tile's number, counted from 1.
std::string tileText(std::size_t number);

// Binds the collection to the list and appends a tile for every image that
// has none yet, so that the list holds tiles 1 … n for the n images, the
// tile at index i showing the image at index i.
void rebuildTiles(HarvestWindow& window);

} // namespace orvu
