#pragma once

#include "icons/icon_bitmap.h"

#include <cstdint>
#include <vector>

namespace orvu {

// An RGB drawing surface, rows from the top, pixels 0x00RRGGBB.
struct Surface {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    static Surface filled(int width, int height, std::uint32_t rgb);
    std::uint32_t pixel(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Draws an icon at the surface's top-left corner, as it was loaded (its own
// width and height; see fitIconToSize):
//  - an alpha image is blended over the surface with the alpha channel;
//  - any other image goes through its mask: (surface AND mask) XOR colour,
//    the mask bit widened to a whole byte, so that a masked pixel of colour 0
//    keeps the surface and a masked pixel of another colour inverts it.
void drawIcon(Surface& surface, const IconBitmap& icon);

} // namespace orvu
