#include "icons/icon_choice.h"

#include "icons/cursor_choice.h"

#include <cstdlib>
#include <limits>

namespace orvu {

std::optional<std::size_t> chooseImage(const IconGroup& group, int size, int displayBits) {
    return chooseNearestImage(directoryKeys(group), size, displayBits);
}

std::optional<std::size_t> largestImage(const IconGroup& group) {
    std::optional<std::size_t> largest;
    for (std::size_t i = 0; i < group.entries.size(); ++i) {
        const GroupEntry& entry = group.entries[i];
        if (!largest) {
            largest = i;
            continue;
        }
        const GroupEntry& best = group.entries[*largest];
        const long long pixels = 1LL * entry.pixelWidth() * entry.pixelHeight();
        const long long bestPixels = 1LL * best.pixelWidth() * best.pixelHeight();
        if (pixels > bestPixels || (pixels == bestPixels && entry.bitCount > best.bitCount))
            largest = i;
    }
    return largest;
}

} // namespace orvu
