#include "icons/icon_scaling.h"

#include <cstdint>
#include <vector>

namespace orvu {
namespace {

struct Tap {
    int source = 0;
    std::uint32_t weight = 0;
};

// The source pixel under the centre of destination pixel i, as Windows
// picks it when it enlarges: a 24-pixel row drawn 32 wide repeats every
// third pixel, starting with the second. A centre on the edge between two
// source pixels takes the first: a 32-pixel row drawn 48 wide repeats every
// second pixel, starting with the first.
int sourceUnderCentre(int i, int from, int to) {
    // In units of 1/(2*to) source pixels.
    const std::int64_t centre = (2 * std::int64_t{i} + 1) * from;
    return static_cast<int>((from < to ? centre - 1 : centre) / (2 * std::int64_t{to}));
}

// For every destination index, the source indices it draws on and their
// weights: the overlap of the two pixel extents when shrinking, the one
// source pixel under its centre otherwise.
std::vector<std::vector<Tap>> axisTaps(int from, int to) {
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(to));
    for (int i = 0; i < to; ++i) {
        if (from <= to) {
            taps[static_cast<std::size_t>(i)].push_back({sourceUnderCentre(i, from, to), 1});
            continue;
        }
        // In units of 1/(from*to): destination pixel i spans [i*from, (i+1)*from),
        // source pixel j spans [j*to, (j+1)*to).
        const std::int64_t begin = std::int64_t{i} * from;
        const std::int64_t end = begin + from;
        for (std::int64_t j = begin / to; j * to < end; ++j) {
            const std::int64_t overlap = std::min(end, (j + 1) * to) - std::max(begin, j * to);
            if (overlap > 0)
                taps[static_cast<std::size_t>(i)].push_back(
                    {static_cast<int>(j), static_cast<std::uint32_t>(overlap)});
        }
    }
    return taps;
}

bool invertsBackground(const IconBitmap& image) {
    if (image.mask.empty())
        return false;
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        if (image.mask[i] != 0 && (image.pixels[i] & 0xFFFFFF) != 0)
            return true;
    }
    return false;
}

IconBitmap sampleNearest(const IconBitmap& image, int width, int height) {
    IconBitmap result;
    result.width = width;
    result.height = height;
    result.hasAlpha = image.hasAlpha;
    result.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    if (!image.mask.empty())
        result.mask.resize(result.pixels.size());
    std::vector<int> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        columns[static_cast<std::size_t>(x)] = sourceUnderCentre(x, image.width, width);
    for (int y = 0; y < height; ++y) {
        const int sy = sourceUnderCentre(y, image.height, height);
        for (int x = 0; x < width; ++x) {
            const int sx = columns[static_cast<std::size_t>(x)];
            const std::size_t to = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                   static_cast<std::size_t>(x);
            result.pixels[to] = image.pixel(sx, sy);
            if (!result.mask.empty())
                result.mask[to] = image.masked(sx, sy) ? 1 : 0;
        }
    }
    return result;
}

// The alpha an image is drawn with: its own, or opaque where the mask is clear.
std::uint32_t opacity(const IconBitmap& image, int x, int y) {
    if (image.hasAlpha)
        return image.pixel(x, y) >> 24;
    return image.masked(x, y) ? 0 : 255;
}

IconBitmap averageArea(const IconBitmap& image, int width, int height) {
    const auto columns = axisTaps(image.width, width);
    const auto rows = axisTaps(image.height, height);
    IconBitmap result;
    result.width = width;
    result.height = height;
    result.hasAlpha = true;
    result.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint64_t total = 0;
            std::uint64_t alpha = 0;
            std::uint64_t red = 0;
            std::uint64_t green = 0;
            std::uint64_t blue = 0;
            for (const Tap& row : rows[static_cast<std::size_t>(y)]) {
                for (const Tap& column : columns[static_cast<std::size_t>(x)]) {
                    const std::uint64_t weight = std::uint64_t{row.weight} * column.weight;
                    const std::uint32_t pixel = image.pixel(column.source, row.source);
                    const std::uint64_t opaque = weight * opacity(image, column.source, row.source);
                    total += weight;
                    alpha += opaque;
                    red += opaque * ((pixel >> 16) & 0xFF);
                    green += opaque * ((pixel >> 8) & 0xFF);
                    blue += opaque * (pixel & 0xFF);
                }
            }
            std::uint32_t out = 0;
            if (alpha != 0) {
                const auto a = static_cast<std::uint32_t>((alpha + total / 2) / total);
                out = a << 24 | static_cast<std::uint32_t>((red + alpha / 2) / alpha) << 16 |
                      static_cast<std::uint32_t>((green + alpha / 2) / alpha) << 8 |
                      static_cast<std::uint32_t>((blue + alpha / 2) / alpha);
            }
            result.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                          static_cast<std::size_t>(x)] = out;
        }
    }
    return result;
}

} // namespace

IconBitmap fitIconToSize(IconBitmap image, int width, int height) {
    if (image.width == width && image.height == height)
        return image; // moved, not copied
    const bool shrinks = image.width > width || image.height > height;
    if (!shrinks || invertsBackground(image))
        return sampleNearest(image, width, height);
    return averageArea(image, width, height);
}

} // namespace orvu
