#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

namespace orvu {

// What kind of resource a tile shows.
enum class TileKind : std::uint8_t { Icon };

// Where a tile's icon came from: the file, shared by every tile of it, the
// icon's index in the file and its kind. The icon's images are read again
// from there when they are wanted, rather than kept for every tile.
struct IconOrigin {
    std::shared_ptr<const std::filesystem::path> file;
    std::uint32_t index = 0;
    TileKind kind = TileKind::Icon;
};

} // namespace orvu
