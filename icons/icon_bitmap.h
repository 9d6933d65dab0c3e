#pragma once

#include <cstdint>
#include <vector>

namespace orvu {

// A decoded icon image, rows from the top.
struct IconBitmap {
    int width = 0;
    int height = 0;
    // 0xAARRGGBB; the alpha byte means something only when hasAlpha is set.
    std::vector<std::uint32_t> pixels;
    // The AND mask, one byte per pixel: 1 where the background stays (or is
    // inverted by the colour). Empty when the image has none: fully opaque.
    std::vector<std::uint8_t> mask;
    // True when the alpha channel decides transparency and the mask is ignored.
    bool hasAlpha = false;

    // A size, and a pixel for each place of it.
    bool whole() const {
        return width > 0 && height > 0 &&
               pixels.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    }
    std::uint32_t pixel(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    bool masked(int x, int y) const {
        return !mask.empty() && mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                     static_cast<std::size_t>(x)] != 0;
    }
};

// True when at least one pixel has a non-zero alpha byte: only then does an
// image's alpha channel count.
inline bool anyAlpha(const std::vector<std::uint32_t>& pixels) {
    for (std::uint32_t pixel : pixels) {
        if ((pixel >> 24) != 0)
            return true;
    }
    return false;
}

// The image with its transparency in its alpha channel alone, as image files
// without a mask hold it: an alpha image as it is; otherwise opaque where the
// mask is clear and clear where it is set over black. A pixel whose mask is
// set over another colour inverts what lies behind it, which no alpha channel
// can say: it becomes black, as opaque as its colour is bright, so that on
// white it looks as Windows draws it for greys (a white inverting pixel is
// black, the near-black pixels old tools left under clear areas vanish).
IconBitmap withAlphaChannel(IconBitmap image);

} // namespace orvu
