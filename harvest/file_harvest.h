#pragma once

#include "harvest/harvest_pace.h"
#include "harvest/tile_collection.h"
#include "icons/icon_bitmap.h"
#include "icons/icon_library.h"
#include "icons/result.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace orvu {

// One file's icons on their way into the window; each function takes an
// icon's index in the file.
struct FileIcons {
    std::shared_ptr<const std::filesystem::path> file;
    std::uint32_t count = 0;
    std::function<Result<IconBitmap>(std::uint32_t k)> iconAt; // at the large size
    // Icon k drawn at size x size on a background (drawIconAt).
    std::function<Result<Surface>(std::uint32_t k, int size, std::uint32_t background)> drawAt;
    std::function<TileCollection::Key(std::uint32_t k)> keyFor;
    // The index of the first icon harvested: icons first … first + count - 1.
    std::uint32_t first = 0;
};

// Appends a tile for every icon of the file, in order, and yields whenever
// the window's longest pause has passed, so the tiles so far show while a
// file of thousands of icons is still being read. False when the harvest
// must stop: the window asked it to, the tile limit is reached or a key is
// taken (the last two are reported).
bool harvestIcons(HarvestWindow& window, HarvestPace& pace, const FileIcons& icons);

// Appends a tile for every cursor of the file, then for every animated one,
// each drawn as Windows draws it at the large size (an animated one at its
// first step); paced and stopped as harvestIcons.
bool harvestCursors(HarvestWindow& window, HarvestPace& pace,
                    const std::shared_ptr<const std::filesystem::path>& file, IconLibrary& library);

// Whether a file's cursors become tiles: where the window asks for cursors,
// and always for a cursor file (.cur, .ani), which holds nothing else.
bool harvestsCursorsOf(const HarvestWindow& window, IconLibrary& library);

} // namespace orvu
