#include "icons/icon_choice.h"

#include <cstdlib>
#include <limits>

namespace orvu {

std::optional<std::size_t> chooseImage(const IconGroup& group, int size, int displayBits) {
    int bestSum = std::numeric_limits<int>::max();
    int bestDx = 0;
    int bestDy = 0;
    for (const GroupEntry& entry : group.entries) {
        const int dx = std::abs(entry.pixelWidth() - size);
        const int dy = std::abs(entry.pixelHeight() - size);
        if (dx + dy < bestSum) {
            bestSum = dx + dy;
            bestDx = dx;
            bestDy = dy;
        }
    }

    std::optional<std::size_t> chosen;
    int bestDepthGap = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < group.entries.size(); ++i) {
        const GroupEntry& entry = group.entries[i];
        if (std::abs(entry.pixelWidth() - size) != bestDx ||
            std::abs(entry.pixelHeight() - size) != bestDy)
            continue;
        const int depthGap = std::abs(displayBits - int{entry.bitCount});
        if (depthGap < bestDepthGap) {
            bestDepthGap = depthGap;
            chosen = i;
        }
    }
    return chosen;
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
