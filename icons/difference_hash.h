#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orvu {

// A picture in grey levels, rows from the top.
struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> levels;

    std::uint8_t at(int x, int y) const {
        return levels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// The grey level of a colour (0x..RRGGBB) as Pillow converts a picture to
// grey (mode "L"): ITU-R 601-2 luma, 0.299 R + 0.587 G + 0.114 B, in 16-bit
// fixed point, rounded.
std::uint8_t greyOf(std::uint32_t rgb);

// `picture` resampled to width x height with the Lanczos filter (three
// lobes), computed as Pillow computes it for 8-bit pictures: each output
// pixel's weights worked out in double precision, then made fixed point
// with 22 fractional bits; a horizontal pass, then a vertical one over its
// result, each rounding and clipping to 8 bits. A pass whose size doesn't
// change is left out. Both sizes at least 1.
GreyPicture resampleLanczos(const GreyPicture& picture, int width, int height);

// A 64-bit difference hash ("dhash"), 8 bytes.
using DifferenceHash = std::array<std::uint8_t, 8>;

// The difference hash of a picture as image-matching tools compute it with
// Pillow: the picture resampled to 9 x 8 (resampleLanczos), then for row r
// and column c (each 0 to 7) bit c of byte r set where the level at (c, r)
// is greater than the one to its right.
DifferenceHash differenceHash(const GreyPicture& picture);

// The hash as 16 lower-case hex digits, byte 0 first.
std::string hexOf(const DifferenceHash& hash);

} // namespace orvu
