#include "icon_drawing.h"

#include <algorithm>

namespace orvu {
namespace {

// Premultiplies the source, then adds what shows of the surface, each step
// rounded to the nearest value as Windows' blend does.
std::uint32_t blendChannel(std::uint32_t source, std::uint32_t surface, std::uint32_t alpha) {
    const std::uint32_t premultiplied = (source * alpha + 127) / 255;
    return std::min<std::uint32_t>(255, premultiplied + (surface * (255 - alpha) + 127) / 255);
}

} // namespace

Surface Surface::filled(int width, int height, std::uint32_t rgb) {
    Surface surface;
    surface.width = width;
    surface.height = height;
    surface.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                          rgb & 0xFFFFFF);
    return surface;
}

void drawIcon(Surface& surface, const IconBitmap& icon) {
    const int width = std::min(surface.width, icon.width);
    const int height = std::min(surface.height, icon.height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t& target =
                surface
                    .pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(surface.width) +
                            static_cast<std::size_t>(x)];
            const std::uint32_t colour = icon.pixel(x, y);
            if (icon.hasAlpha) {
                const std::uint32_t alpha = colour >> 24;
                std::uint32_t out = 0;
                for (int shift = 0; shift <= 16; shift += 8) {
                    out |= blendChannel((colour >> shift) & 0xFF, (target >> shift) & 0xFF, alpha)
                           << shift;
                }
                target = out;
            } else {
                const std::uint32_t mask = icon.masked(x, y) ? 0xFFFFFF : 0;
                target = ((target & mask) ^ colour) & 0xFFFFFF;
            }
        }
    }
}

} // namespace orvu
