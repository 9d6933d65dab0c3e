#include "harvest/tiles.h"

namespace orvu {

std::string tileText(std::size_t imageNumber) {
    return "图标" + std::to_string(imageNumber);
}

void rebuildTiles(HarvestWindow& window) {
    window.bindListToImages();
    const std::size_t images = window.imageCount();
    for (std::size_t i = window.tileCount() + 1; i <= images; ++i)
        window.addTile(tileText(i), i);
}

} // namespace orvu
