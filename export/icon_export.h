#pragma once

#include "icons/icon_library.h"
#include "icons/result.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace orvu {

// An icon exported as a file's bytes, made of the images the file holds;
// the images its directory lists that the file lacks are left out and named
// here, so that the user can be told the icon is incomplete.
struct ExportedIcon {
    std::vector<std::uint8_t> bytes;
    std::vector<MissingImage> missing;
};

// Icon k of the library as an .ico file: every image it holds, as stored.
// Fails when it holds none, or the icon is past a limit (icons/limits.h).
Result<ExportedIcon> iconFileOf(IconLibrary& library, std::uint32_t k);
// One image of icon k as a PNG file: of the images the file holds, the one
// Windows would show at `size` x `size`, or with no size the largest.
Result<ExportedIcon> pngOf(IconLibrary& library, std::uint32_t k,
                           std::optional<int> size = std::nullopt);

} // namespace orvu
