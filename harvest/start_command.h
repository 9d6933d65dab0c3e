#pragma once

#include "harvest/folder_keys.h"
#include "harvest/harvest_window.h"
#include "icons/png_decoder.h"

#include <filesystem>

namespace orvu {

// The Start command: disables Start, empties the tiles, harvests the chosen
// file (when there is one), then scans the chosen folder (when there is
// one). Start stays disabled until a picker enables it again.
class StartCommand {
public:
    StartCommand(HarvestWindow& window, FolderKeys& folderKeys, const PngDecoder* png);

    // The two path boxes' texts as paths; an empty path is an empty box.
    // False when the harvest was stopped before its end.
    bool run(const std::filesystem::path& file, const std::filesystem::path& folder);

private:
    // Keys my0, my1, … by icon index; false when the command must stop.
    bool harvestFile(const std::filesystem::path& file);

    HarvestWindow& m_window;
    FolderKeys& m_folderKeys;
    const PngDecoder* m_png = nullptr;
};

} // namespace orvu
