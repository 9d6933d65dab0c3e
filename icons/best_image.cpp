#include "icons/best_image.h"

#include <algorithm>
#include <tuple>

namespace orvu {

std::optional<std::size_t> bestImageFor(const std::vector<ImageDescription>& images, int size) {
    // Lower ranks are better: exact sizes, then larger ones, nearest first,
    // then the largest of the smaller ones; deeper before shallower.
    const auto rank = [size](const ImageDescription& image) {
        const long long pixels = static_cast<long long>(image.width) * image.height;
        if (image.width == size && image.height == size)
            return std::make_tuple(0, 0LL, -image.bitCount);
        if (image.width >= size && image.height >= size)
            return std::make_tuple(1, pixels, -image.bitCount);
        return std::make_tuple(2, -pixels, -image.bitCount);
    };
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (images[i].format == ImageFormat::Missing)
            continue;
        if (!best || rank(images[i]) < rank(images[*best]))
            best = i;
    }
    return best;
}

} // namespace orvu
