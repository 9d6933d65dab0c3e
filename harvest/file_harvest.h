#pragma once

#include "harvest/harvest_pace.h"
#include "harvest/tile_collection.h"
#include "icons/icon_bitmap.h"
#include "icons/result.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace orvu {

// One file's icons on their way into the window.
struct FileIcons {
    std::shared_ptr<const std::filesystem::path> file;
    std::uint32_t count = 0;
    std::function<Result<IconBitmap>(std::uint32_t k)> iconAt; // at the large size
    // Icon k drawn at size x size on a background (drawIconAt).
    std::function<Result<Surface>(std::uint32_t k, int size, std::uint32_t background)> drawAt;
    std::function<TileCollection::Key(std::uint32_t k)> keyFor;
};

// Appends a tile for every icon of the file, in order, and yields whenever
// the window's longest pause has passed, so the tiles so far show while a
// file of thousands of icons is still being read. False when the harvest
// must stop: the window asked it to, the tile limit is reached or a key is
// taken (the last two are reported).
bool harvestIcons(HarvestWindow& window, HarvestPace& pace, const FileIcons& icons);

} // namespace orvu
