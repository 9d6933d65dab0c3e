#include "icons/image_choice.h"

#include "icons/icon_image.h"
#include "icons/png_decoder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <numeric>
#include <tuple>

namespace orvu {
namespace {

// The largest size that the second step of the cursor rule looks at.
constexpr int LargestSmallest = 255;

// How far a side is from the size shown. Sides come from files (a PNG's
// header may claim 2^31 - 1), so distances and their sums are 64-bit.
std::int64_t distance(int side, int size) {
    return std::llabs(std::int64_t{side} - size);
}

ChoiceKey directoryKey(const GroupEntry& entry) {
    return {entry.pixelWidth(), entry.pixelHeight(), int{entry.bitCount}};
}

// The key of an entry of a file's directory, as Windows reads it (see choiceKey).
std::optional<ChoiceKey> fileEntryKey(const GroupEntry& entry, ByteView imageHead) {
    const auto headerSize = imageHead.u32(InfoHeader::HeaderSize);
    if (!headerSize)
        return std::nullopt;
    if (isPng(imageHead)) {
        const auto tag = imageHead.u32BigEndian(Ihdr::Type);
        const auto width = imageHead.u32BigEndian(Ihdr::Width);
        const auto height = imageHead.u32BigEndian(Ihdr::Height);
        const auto colourType = imageHead.u8(Ihdr::ColourType);
        if (tag != Ihdr::Tag || !width || !height || !colourType ||
            *width > static_cast<std::uint32_t>(std::numeric_limits<int>::max()) ||
            *height > static_cast<std::uint32_t>(std::numeric_limits<int>::max()))
            return std::nullopt;
        return ChoiceKey{static_cast<int>(*width), static_cast<int>(*height),
                         *colourType == Ihdr::Rgba ? 32 : 24};
    }
    const bool core = *headerSize == CoreHeader::Size;
    const std::uint64_t whole = core ? CoreHeader::Size : InfoHeader::Size;
    const auto bitCount = imageHead.size() >= whole
                              ? imageHead.u16(core ? CoreHeader::BitCount : InfoHeader::BitCount)
                              : std::nullopt;
    if (!bitCount)
        return std::nullopt;
    return ChoiceKey{entry.width, entry.height, *bitCount};
}

std::optional<std::size_t> chooseCursorImage(const std::vector<ChoiceKey>& keys, int size) {
    if (keys.empty())
        return std::nullopt;
    // One pass of the walk: an image replaces the one found so far when it
    // passes `replaces` and isn't merely as large without more bits.
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
    std::int64_t bestSum = std::numeric_limits<std::int64_t>::max();
    std::int64_t bestDx = 0;
    std::int64_t bestDy = 0;
    for (const ChoiceKey& key : keys) {
        const std::int64_t dx = distance(key.width, size);
        const std::int64_t dy = distance(key.height, size);
        if (dx + dy < bestSum) {
            bestSum = dx + dy;
            bestDx = dx;
            bestDy = dy;
        }
    }

    std::optional<std::size_t> chosen;
    std::int64_t bestDepthGap = std::numeric_limits<std::int64_t>::max();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const ChoiceKey& key = keys[i];
        if (distance(key.width, size) != bestDx || distance(key.height, size) != bestDy)
            continue;
        const std::int64_t depthGap = distance(key.bitCount, displayBits);
        if (depthGap < bestDepthGap) {
            bestDepthGap = depthGap;
            chosen = i;
        }
    }
    return chosen;
}

} // namespace

bool keyedByImageHead(GroupKind kind, const GroupEntry& entry) {
    return kind != GroupKind::Icon && !entry.cursorSize;
}

std::optional<ChoiceKey> choiceKey(GroupKind kind, const GroupEntry& entry, ByteView imageHead) {
    if (keyedByImageHead(kind, entry))
        return fileEntryKey(entry, imageHead);
    return directoryKey(entry);
}

std::optional<std::size_t> chooseImageOfKind(GroupKind kind, const std::vector<ChoiceKey>& keys,
                                             int size) {
    if (kind == GroupKind::Cursor)
        return chooseCursorImage(keys, size);
    return chooseNearestImage(keys, size, DisplayBitsPerPixel);
}

ImageSize listedSize(GroupKind kind, const GroupEntry& entry) {
    return {entry.pixelWidth(), entry.pixelHeight(),
            keyedByImageHead(kind, entry) ? 0 : int{entry.bitCount}};
}

ImageSize ownSize(GroupKind kind, const GroupEntry& entry, ByteView imageHead) {
    const ImageSize listed = listedSize(kind, entry);
    const ImageHeader header = imageHeader(imageHead);
    if (header.pixels == 0)
        return listed;
    const bool depth = listed.bitCount == 1 || listed.bitCount == 4 || listed.bitCount == 8 ||
                       listed.bitCount == 16 || listed.bitCount == 24 || listed.bitCount == 32;
    return {header.width, header.height,
            isPng(imageHead) && depth ? listed.bitCount : header.bitCount};
}

std::vector<std::size_t> pictureOrder(const std::vector<ImageSize>& images, int size) {
    std::vector<std::size_t> order(images.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto rank = [&](std::size_t i) {
        const ImageSize& image = images[i];
        // Sides come from files: a cursor directory's may be 65 535.
        const std::int64_t side = std::max(image.width, image.height);
        const bool covers = side >= size;
        return std::make_tuple(!covers, covers ? side : -side,
                               -std::int64_t{image.width} * image.height, -image.bitCount);
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rank(a) < rank(b); });
    return order;
}

std::optional<std::size_t> largestImage(const std::vector<ImageSize>& images) {
    std::optional<std::size_t> largest;
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (!largest) {
            largest = i;
            continue;
        }
        const ImageSize& image = images[i];
        const ImageSize& best = images[*largest];
        const std::int64_t pixels = std::int64_t{image.width} * image.height;
        const std::int64_t bestPixels = std::int64_t{best.width} * best.height;
        if (pixels > bestPixels || (pixels == bestPixels && image.bitCount > best.bitCount))
            largest = i;
    }
    return largest;
}

} // namespace orvu
