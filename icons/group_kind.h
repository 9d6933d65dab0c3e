#pragma once

#include <array>
#include <cstdint>

namespace orvu {

// What a group of a file is: an icon (an RT_GROUP_ICON resource, an .ico
// file), a cursor (RT_GROUP_CURSOR, a .cur file) or an animated cursor or
// icon (RT_ANICURSOR, RT_ANIICON, an .ani file). A file's groups of each kind
// are numbered apart, from 0; a program shows its icons, then its cursors,
// then its animated ones.
enum class GroupKind { Icon, Cursor, Animated };

inline constexpr std::array<GroupKind, 3> GroupKinds{GroupKind::Icon, GroupKind::Cursor,
                                                     GroupKind::Animated};

// "icon", "cursor" or "animated".
const char* kindName(GroupKind kind);

// Group `index` (from 0) among the file's groups of `kind`.
struct GroupRef {
    GroupKind kind = GroupKind::Icon;
    std::uint32_t index = 0;

    friend bool operator==(const GroupRef&, const GroupRef&) = default;
};

} // namespace orvu
