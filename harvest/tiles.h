#pragma once

#include <cstddef>
#include <string>

namespace orvu {

// A tile's caption: a word for "icon" and the tile's number, counted from 1.
std::string tileText(std::size_t number);
// An icon tile's caption where it shows `copies` icons of one picture.
std::string copiesTileText(std::size_t number, std::size_t copies);
// A cursor tile's caption: a word for "cursor" and its number among the
// cursor tiles, counted from 1.
std::string cursorTileText(std::size_t number);

} // namespace orvu
