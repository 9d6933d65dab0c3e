#pragma once

#include "harvest/folder_keys.h"
#include "harvest/harvest_window.h"
#include "icons/png_decoder.h"
#include "platform/icon_reference.h"

#include <filesystem>

namespace orvu {

// The Start command: disables Start, empties the tiles, harvests the chosen
// file (when there is one), then scans the chosen folder (when there is
// one). Start stays disabled until a picker enables it again. A shortcut
// chosen as the file (.lnk, .url, desktop.ini) gives the one icon it shows.
class StartCommand {
public:
    StartCommand(HarvestWindow& window, FolderKeys& folderKeys, const PngDecoder* png);

    // The two path boxes' texts as paths; an empty path is an empty box.
    // False when the harvest was stopped before its end.
    bool run(const std::filesystem::path& file, const std::filesystem::path& folder);

private:
    // Keys my0, my1, … by icon index; false when the command must stop.
    bool harvestFile(const std::filesystem::path& file);
    // A shortcut's one icon (followed: where it led), keyed by its index,
    // the status line saying where it came from.
    bool harvestShortcut(const std::filesystem::path& file, Result<ReferencedIcons> followed);

    HarvestWindow& m_window;
    FolderKeys& m_folderKeys;
    const PngDecoder* m_png = nullptr;
};

} // namespace orvu
