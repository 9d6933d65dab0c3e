#pragma once

#include "icons/icon_bitmap.h"
#include "icons/result.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvu {

// A text chunk of a PNG file (tEXt): a keyword of 1 to 79 printable Latin-1
// characters, and its text.
struct PngText {
    std::string keyword;
    std::string text;
};

// An image as a PNG file: 8-bit RGBA with straight alpha, the pixels as
// IconBitmap holds them (0xAARRGGBB), and the text chunks after the header.
// The alpha channel is written as it is: give an image whose transparency is
// in it (see withAlphaChannel).
Result<std::vector<std::uint8_t>> encodePng(const IconBitmap& image,
                                            const std::vector<PngText>& texts = {});

} // namespace orvu
