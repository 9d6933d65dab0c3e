#include "icons/icon_bitmap.h"

#include <algorithm>

namespace orvu {

IconBitmap withAlphaChannel(IconBitmap image) {
    if (image.hasAlpha) {
        image.mask.clear(); // the alpha channel decides; the mask means nothing
        return image;
    }
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const std::uint32_t colour = image.pixels[i] & 0xFFFFFF;
        if (image.mask.empty() || image.mask[i] == 0) {
            image.pixels[i] = 0xFF000000u | colour;
            continue;
        }
        const std::uint32_t brightest =
            std::max({colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF});
        image.pixels[i] = brightest << 24; // black; fully clear over black
    }
    image.mask.clear();
    image.hasAlpha = true;
    return image;
}

} // namespace orvu
