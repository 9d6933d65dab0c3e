#pragma once

#include "icons/icon_library.h"
#include "icons/result.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace orvu {

// Icon k of the library as an .ico file's bytes.
Result<std::vector<std::uint8_t>> iconFileOf(IconLibrary& library, std::uint32_t k);
// One image of icon k as a PNG file's bytes: the image Windows would show at
// `size` x `size`, or with no size the largest.
Result<std::vector<std::uint8_t>> pngOf(IconLibrary& library, std::uint32_t k,
                                        std::optional<int> size = std::nullopt);

} // namespace orvu
