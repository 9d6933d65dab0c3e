#include "harvest/tiles.h"

#include "texts/text.h"

namespace orvu {

std::string tileText(std::size_t number) {
    return fillIn(text("tile caption", "Icon %1"), number);
}

std::string cursorTileText(std::size_t number) {
    return fillIn(text("cursor tile caption", "Cursor %1"), number);
}

} // namespace orvu
