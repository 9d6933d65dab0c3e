#include "harvest/tiles.h"

#include "texts/text.h"

namespace orvu {

std::string tileText(std::size_t number) {
    return fillIn(text("tile caption", "Icon %1"), number);
}

void rebuildTiles(HarvestWindow& window) {
    window.bindListToImages();
    const std::size_t images = window.imageCount();
    for (std::size_t i = window.tileCount(); i < images; ++i)
        window.addTile(tileText(i + 1), i);
}

} // namespace orvu
