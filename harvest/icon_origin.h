#pragma once

#include "icons/group_kind.h"

#include <cstdint>
#include <filesystem>
#include <memory>

namespace orvu {

// What kind of resource a tile shows: an icon, a cursor or an animated
// cursor (or animated icon).
enum class TileKind : std::uint8_t { Icon, Cursor, Animated };

inline GroupKind groupKindOf(TileKind kind) {
    return kind == TileKind::Icon     ? GroupKind::Icon
           : kind == TileKind::Cursor ? GroupKind::Cursor
                                      : GroupKind::Animated;
}

// Where a tile's icon came from: the file, shared by every tile of it, the
// icon's index in the file among the groups of its kind, and its kind. The icon's images are read
// again from there when they are wanted, rather than kept for every tile.
struct IconOrigin {
    std::shared_ptr<const std::filesystem::path> file;
    std::uint32_t index = 0;
    TileKind kind = TileKind::Icon;

    GroupRef group() const { return {groupKindOf(kind), index}; }
};

} // namespace orvu
