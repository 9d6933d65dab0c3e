#pragma once

#include "export/export_names.h"
#include "harvest/harvest_window.h"
#include "harvest/messages.h"
#include "harvest/tile_actions.h"
#include "icons/png_decoder.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace orvu {

// The end of saving many tiles.
struct BatchOutcome {
    std::size_t saved = 0;
    std::vector<messages::TileFailure> failed;
    std::size_t incomplete = 0; // of those saved, the icons saved without images their files lack
    bool stopped = false;       // by the user, or the window going away
};

// How many of the names the tiles would be saved under, in `folder` as
// `format`, are taken by something on disk already.
std::size_t existingNames(const std::vector<Tile>& tiles, const std::filesystem::path& folder,
                          SaveFormat format);

// Saves the tiles into one folder, one file each, named after the icon's file
// and position (notepad_1.ico, TileNames), a counter added where names
// collide, each in its own kind's format where `format` is a whole one
// (formatFor: a cursor as .cur, an animated one as .ani): each
// tile's bytes as saving it alone makes them (tileSubject), written by the
// names' own atomic write. Files
// already there are replaced or kept as `existing` says. Each icon is read
// again from its file: a file that changed or vanished since is a failure of
// its icons, never of the batch; an icon whose file lacks some of its images
// is saved with the others. The status line shows the progress and the
// window handles its events at least every longest pause; a yield that says
// stop ends the batch where it is.
BatchOutcome exportTiles(HarvestWindow& window, const std::vector<Tile>& tiles,
                         const std::filesystem::path& folder, SaveFormat format,
                         ExistingFiles existing, const PngDecoder* png);

} // namespace orvu
