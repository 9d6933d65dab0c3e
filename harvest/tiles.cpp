#include "harvest/tiles.h"

#include "texts/text.h"

namespace orvu {

std::string tileText(std::size_t number) {
    return fillIn(text("tile caption", "Icon %1"), number);
}

std::string copiesTileText(std::size_t number, std::size_t copies) {
    // TRANSLATORS: a tile's caption ("Icon 3") and how many copies of its
    // icon the harvest found.
    return fillIn(text("%1 ×%2"), tileText(number), copies);
}

std::string cursorTileText(std::size_t number) {
    return fillIn(text("cursor tile caption", "Cursor %1"), number);
}

} // namespace orvu
