#pragma once

#include "icons/icon_group.h"

#include <cstddef>
#include <optional>

namespace orvu {

inline constexpr int LargeIconSize = 32;
inline constexpr int DisplayBitsPerPixel = 32;
// The largest size an icon is loaded and drawn at: the largest an icon
// directory can describe.
inline constexpr int MaxShownSize = 256;

// The entry that Windows loads for an icon shown at `size` × `size` on a
// display of `displayBits` colour depth:
//  1. the smallest |w - size| + |h - size| fixes, through the first entry
//     that reaches it, the pair (|w - size|, |h - size|);
//  2. among the entries with exactly that pair, the smallest
//     |displayBits - bitCount|, the first in directory order on a tie.
// The colour count is ignored. Nullopt only for an empty group.
std::optional<std::size_t> chooseImage(const IconGroup& group, int size = LargeIconSize,
                                       int displayBits = DisplayBitsPerPixel);

// The entry with the most pixels, the deepest colour among those, the first
// in directory order on a tie: the image to take when one picture of the
// whole icon is wanted. Nullopt only for an empty group.
std::optional<std::size_t> largestImage(const IconGroup& group);

} // namespace orvu
