#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

namespace orvu {

// Where a tile's icon came from: the file, shared by every tile of it, and
// the icon's index in the file. The icon's images are read again from there
// when they are wanted, rather than kept for every tile.
struct IconOrigin {
    std::shared_ptr<const std::filesystem::path> file;
    std::uint32_t index = 0;
};

} // namespace orvu
