#pragma once

#include <cstddef>
#include <string>

namespace orvu {

// A tile's caption: a word for "icon" and the tile's number, counted from 1.
std::string tileText(std::size_t number);

} // namespace orvu
