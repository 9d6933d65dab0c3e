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

// A group of any kind as a file of its kind, losing nothing: an icon as an
// .ico, every image it holds as stored; a cursor as a .cur, every image it
// holds byte for byte as stored, each entry with the image's hotspot; an
// animated cursor or icon as an .ani, its bytes exactly as stored. Fails
// when the file holds none of its images, or the group is past a limit
// (icons/limits.h).
Result<ExportedIcon> groupFileOf(IconLibrary& library, GroupRef group);
// One image of a group as a PNG file: of the images the file holds, the one
// Windows would show at `size` x `size` (of a cursor, by Windows' rule for
// cursors; of an animated one, an image of the frame its first step shows),
// or with no size the largest, by what each image's own header says it is
// (largestImage). A cursor image's hotspot goes with it
// (pngOfImage).
Result<ExportedIcon> pngOf(IconLibrary& library, GroupRef group,
                           std::optional<int> size = std::nullopt);
// A decoded image as a PNG file; a cursor image's hotspot as the text chunk
// "hotspot", "x,y".
Result<std::vector<std::uint8_t>> pngOfImage(const IconBitmap& image,
                                             const std::optional<Hotspot>& hotspot);

} // namespace orvu
