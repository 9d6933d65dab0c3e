#pragma once

#include "export/export_names.h"
#include "export/save_format.h"
#include "harvest/tile_collection.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace orvu {

// The names of tiles saved into one folder, as ExportNames gives them: after
// the icon's file and its position among the groups of its kind
// (notepad_1.ico, user32_3.cur), one run of names per extension, so that a
// cursor's PNG takes a counter where an icon's PNG has its name.
class TileNames {
public:
    TileNames(std::filesystem::path folder, ExistingFiles existing);

    std::filesystem::path next(const Tile& tile, SaveFormat format);
    ExportNames::Written write(const Tile& tile, SaveFormat format,
                               const std::vector<std::uint8_t>& bytes);

private:
    ExportNames& namesFor(SaveFormat format);

    std::filesystem::path m_folder;
    ExistingFiles m_existing;
    std::map<std::string, ExportNames> m_names;
};

} // namespace orvu
