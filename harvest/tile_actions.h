#pragma once

#include "export/icon_export.h"
#include "export/save_format.h"
#include "harvest/icon_save.h"
#include "harvest/tile_collection.h"
#include "icons/png_decoder.h"

#include <filesystem>
#include <vector>

namespace orvu {

// What the user does with tiles, without a screen: save one (through the
// save routine) or many (batch_export.h), copy one, drag some out, look at
// one closer (icon_details.h).

// What a tile is saved as. The whole icon (.ico), cursor (.cur), animated
// cursor (.ani) and the .png are read again from the icon's file, of the
// images it holds; when the file no longer holds the icon the tile shows
// (its cell drawn anew differs), the failure says the file changed. The
// .bmp is the tile's cell itself. A whole format that is not the tile's
// kind's saves in its kind's (formatFor).
Result<ExportedIcon> tileFileBytes(const Tile& tile, SaveFormat format, const PngDecoder* png);

// A tile to save: its whole icon or cursor, its largest image or its cell,
// as the formats table offers them for its kind (formatsOffered).
SaveSubject tileSubject(const Tile& tile, const PngDecoder* png);

// Dragged tiles: each tile whole (wholeFormatOf) as a file in `folder`, named
// as saving many names them; tiles whose icons can't be read again are left
// out.
std::vector<std::filesystem::path> writeIconFiles(const std::vector<Tile>& tiles,
                                                  const std::filesystem::path& folder,
                                                  const PngDecoder* png);

} // namespace orvu
