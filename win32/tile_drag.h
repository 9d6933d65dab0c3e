#pragma once

#include "harvest/tile_collection.h"
#include "icons/png_decoder.h"
#include "platform/windows_api.h"

#include <filesystem>
#include <vector>

namespace orvu::win32 {

// Dragging tiles out of the list, to Explorer or an image editor: each tile
// whole, as the file it saves as alone (.ico, .cur, .ani), offered as
// CF_HDROP and written into a folder of the drag's own in the user's
// temporary folder when a target first asks for the files; a single tile
// also as its largest picture (CF_DIBV5 and "PNG"). The folders go when the
// program ends (removeDragFolders).
namespace tileDrag {

// Runs the drag (DoDragDrop) until the tiles are dropped or the drag is
// given up; true when they were dropped.
bool run(std::vector<Tile> tiles, const PngDecoder* png);
// Whether a drag of this program's tiles is under way: a drop of them on
// its own window is no new source.
bool active();
// Removes every folder this program's drags wrote into.
void removeDragFolders();

} // namespace tileDrag
} // namespace orvu::win32
