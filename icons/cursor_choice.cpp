#include "icons/cursor_choice.h"

#include "icons/icon_choice.h"
#include "icons/png_decoder.h"

#include <cstdlib>
#include <limits>

namespace orvu {
namespace {

// What Windows reads of an image's header for its key.
namespace ImageHead {
constexpr std::uint64_t InfoHeaderSize = 40; // BITMAPINFOHEADER
constexpr std::uint64_t InfoBitCount = 14;
constexpr std::uint32_t CoreHeaderSize = 12; // BITMAPCOREHEADER
constexpr std::uint64_t CoreBitCount = 10;
// The PNG signature, then the IHDR chunk's length and type, width, height,
// bit depth and colour type.
constexpr std::uint64_t PngIhdrType = 12;
constexpr std::uint64_t PngWidth = 16;
constexpr std::uint64_t PngHeight = 20;
constexpr std::uint64_t PngColourType = 25;
constexpr std::uint8_t PngRgba = 6;
} // namespace ImageHead

// The largest size that the second step looks at.
constexpr int LargestSmallest = 255;

} // namespace

std::vector<ChoiceKey> directoryKeys(const IconGroup& group) {
    std::vector<ChoiceKey> keys;
    keys.reserve(group.entries.size());
    for (const GroupEntry& entry : group.entries)
        keys.push_back({entry.pixelWidth(), entry.pixelHeight(), int{entry.bitCount}});
    return keys;
}

std::optional<ChoiceKey> fileEntryKey(const GroupEntry& entry, ByteView imageHead) {
    const auto headerSize = imageHead.u32(0);
    if (!headerSize)
        return std::nullopt;
    if (isPng(imageHead)) {
        const std::uint8_t ihdr[] = {'I', 'H', 'D', 'R'};
        const auto tag = imageHead.sub(ImageHead::PngIhdrType, 4);
        const auto width = imageHead.u32BigEndian(ImageHead::PngWidth);
        const auto height = imageHead.u32BigEndian(ImageHead::PngHeight);
        const auto colourType = imageHead.u8(ImageHead::PngColourType);
        if (!tag || !tag->startsWith(ihdr) || !width || !height || !colourType ||
            *width > static_cast<std::uint32_t>(std::numeric_limits<int>::max()) ||
            *height > static_cast<std::uint32_t>(std::numeric_limits<int>::max()))
            return std::nullopt;
        return ChoiceKey{static_cast<int>(*width), static_cast<int>(*height),
                         *colourType == ImageHead::PngRgba ? 32 : 24};
    }
    const bool core = *headerSize == ImageHead::CoreHeaderSize;
    const auto bitCount = core ? (imageHead.size() >= ImageHead::CoreHeaderSize
                                      ? imageHead.u16(ImageHead::CoreBitCount)
                                      : std::nullopt)
                               : (imageHead.size() >= ImageHead::InfoHeaderSize
                                      ? imageHead.u16(ImageHead::InfoBitCount)
                                      : std::nullopt);
    if (!bitCount)
        return std::nullopt;
    return ChoiceKey{entry.width, entry.height, *bitCount};
}

std::optional<std::size_t> chooseCursorImage(const std::vector<ChoiceKey>& keys, int size) {
    if (keys.empty())
        return std::nullopt;
    // One pass of the walk: an image replaces the one found so far when it
    // passes `within` and reaches at least (or at most) its size.
    std::optional<std::size_t> chosen;
    int bestWidth = 0;
    int bestHeight = 0;
    int bestBits = 0;
    const auto walk = [&](auto replaces) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const ChoiceKey& key = keys[i];
            if (!replaces(key))
                continue;
            if (key.width == bestWidth && key.height == bestHeight && key.bitCount <= bestBits)
                continue;
            chosen = i;
            bestWidth = key.width;
            bestHeight = key.height;
            bestBits = key.bitCount;
        }
    };
    walk([&](const ChoiceKey& key) {
        return key.width <= size && key.height <= size && key.width >= bestWidth &&
               key.height >= bestHeight;
    });
    if (chosen)
        return chosen;
    bestWidth = LargestSmallest;
    bestHeight = LargestSmallest;
    walk([&](const ChoiceKey& key) { return key.width <= bestWidth && key.height <= bestHeight; });
    return chosen ? chosen : std::optional<std::size_t>(0);
}

std::optional<std::size_t> chooseNearestImage(const std::vector<ChoiceKey>& keys, int size,
                                              int displayBits) {
    int bestSum = std::numeric_limits<int>::max();
    int bestDx = 0;
    int bestDy = 0;
    for (const ChoiceKey& key : keys) {
        const int dx = std::abs(key.width - size);
        const int dy = std::abs(key.height - size);
        if (dx + dy < bestSum) {
            bestSum = dx + dy;
            bestDx = dx;
            bestDy = dy;
        }
    }

    std::optional<std::size_t> chosen;
    int bestDepthGap = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const ChoiceKey& key = keys[i];
        if (std::abs(key.width - size) != bestDx || std::abs(key.height - size) != bestDy)
            continue;
        const int depthGap = std::abs(displayBits - key.bitCount);
        if (depthGap < bestDepthGap) {
            bestDepthGap = depthGap;
            chosen = i;
        }
    }
    return chosen;
}

} // namespace orvu

namespace orvu {

std::optional<std::size_t> chooseImageOfKind(GroupKind kind, const std::vector<ChoiceKey>& keys,
                                             int size) {
    if (kind == GroupKind::Cursor)
        return chooseCursorImage(keys, size);
    return chooseNearestImage(keys, size, DisplayBitsPerPixel);
}

} // namespace orvu
