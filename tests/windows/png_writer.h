#pragma once

// PNG files without zlib: the image data goes into stored (uncompressed)
// deflate blocks, which every PNG reader must accept.

#include <cstdint>
#include <vector>

namespace orvu::test {

enum class PngColours {
    Rgb,  // colour type 2: the alpha byte of each pixel is dropped
    Rgba, // colour type 6
};

// `pixels` holds 0xAARRGGBB per pixel from the top-left, not premultiplied.
std::vector<std::uint8_t> encodePng(int width, int height, const std::vector<std::uint32_t>& pixels,
                                    PngColours colours = PngColours::Rgba);

} // namespace orvu::test
