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
// Windows would show at `size` x `size`, or with no size the largest
// (largestImage, by what each image's own header says it is).
Result<ExportedIcon> pngOf(IconLibrary& library, std::uint32_t k,
                           std::optional<int> size = std::nullopt);

// A group of any kind as a file of its kind, losing nothing: an icon as an
// .ico (iconFileOf); a cursor as a .cur, every image it holds byte for byte
// as stored, each entry with the image's hotspot; an animated cursor or
// icon as an .ani, its bytes exactly as stored.
Result<ExportedIcon> groupFileOf(IconLibrary& library, GroupRef group);
// The extension of that file: ".ico", ".cur" or ".ani".
const char* groupFileExtension(GroupKind kind);
// One image of a group as a PNG file, as pngOf: of a cursor, the image
// Windows' rule for cursors takes at `size`, of an animated one, an image of
// the frame its first step shows. A cursor image's hotspot goes with it as
// the text chunk "hotspot", "x,y".
Result<ExportedIcon> pngOf(IconLibrary& library, GroupRef group,
                           std::optional<int> size = std::nullopt);

} // namespace orvu
