#pragma once

#include "icons/group_kind.h"

#include <cstdint>
#include <filesystem>
#include <memory>

namespace orvu {

// Where a tile's icon came from: the file, shared by every tile of it, and
// the icon's group in the file: its kind (an icon, a cursor or an animated
// cursor or icon) and its index among the groups of its kind. The icon's
// images are read again from there when they are wanted, rather than kept
// for every tile.
struct IconOrigin {
    std::shared_ptr<const std::filesystem::path> file;
    std::uint32_t index = 0;
    GroupKind kind = GroupKind::Icon;

    GroupRef group() const { return {kind, index}; }
};

} // namespace orvu
