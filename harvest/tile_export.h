#pragma once

#include "export/icon_export.h"
#include "export/save_format.h"
#include "harvest/harvest_window.h"
#include "harvest/icon_origin.h"
#include "icons/png_decoder.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace orvu {

// A tile as the window holds it: its cell, the background the cell was
// drawn on, and where its icon came from.
struct TileIcon {
    IconCell cell;
    std::uint32_t background = 0xFFFFFF;
    IconOrigin origin;
};

// What a tile is saved as. The .ico and .png are read again from the icon's
// file, of the images it holds; when the file no longer holds the icon the
// tile shows (its cell drawn anew differs), the failure says the file
// changed. The .bmp is the tile's cell itself.
Result<ExportedIcon> tileFileBytes(const TileIcon& tile, SaveFormat format, const PngDecoder* png);

} // namespace orvu
