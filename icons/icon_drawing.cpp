#include "icons/icon_drawing.h"

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
        std::uint32_t* target = surface.pixels.data() + static_cast<std::size_t>(y) *
                                                            static_cast<std::size_t>(surface.width);
        const std::size_t rowStart =
            static_cast<std::size_t>(y) * static_cast<std::size_t>(icon.width);
        const std::uint32_t* colours = icon.pixels.data() + rowStart;
        if (icon.hasAlpha) {
            for (int x = 0; x < width; ++x) {
                const std::uint32_t colour = colours[x];
                const std::uint32_t alpha = colour >> 24;
                // Most pixels of an icon are fully clear or fully opaque.
                if (alpha == 0)
                    continue;
                if (alpha == 255) {
                    target[x] = colour & 0xFFFFFF;
                    continue;
                }
                std::uint32_t out = 0;
                for (int shift = 0; shift <= 16; shift += 8) {
                    out |=
                        blendChannel((colour >> shift) & 0xFF, (target[x] >> shift) & 0xFF, alpha)
                        << shift;
                }
                target[x] = out;
            }
        } else if (icon.mask.empty()) {
            for (int x = 0; x < width; ++x)
                target[x] = colours[x] & 0xFFFFFF;
        } else {
            const std::uint8_t* mask = icon.mask.data() + rowStart;
            for (int x = 0; x < width; ++x) {
                const std::uint32_t keep = mask[x] ? 0xFFFFFFu : 0u;
                target[x] = ((target[x] & keep) ^ colours[x]) & 0xFFFFFF;
            }
        }
    }
}

} // namespace orvu
