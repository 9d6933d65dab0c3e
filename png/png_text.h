#pragma once

#include "icons/result.h"
#include "png/png_encoder.h"

#include <cstdint>
#include <vector>

namespace orvu {

// Whether every text can be a tEXt chunk: a keyword of 1 to 79 characters
// from space to '~', not starting or ending with a space, and a text without
// a NUL.
Result<void> checkTexts(const std::vector<PngText>& texts);

// The PNG file `png` with a tEXt chunk for each text right after its header
// chunk, for encoders that can't write them themselves.
std::vector<std::uint8_t> withTextChunks(std::vector<std::uint8_t> png,
                                         const std::vector<PngText>& texts);

} // namespace orvu
