#include "harvest/batch_export.h"

#include "harvest/harvest_pace.h"
#include "harvest/messages.h"
#include "harvest/tile_names.h"

#include <system_error>

namespace orvu {

std::size_t existingNames(const std::vector<Tile>& tiles, const std::filesystem::path& folder,
                          SaveFormat format) {
    TileNames names(folder, ExistingFiles::Replace);
    std::size_t existing = 0;
    for (const Tile& tile : tiles) {
        std::error_code error;
        const auto path = names.next(tile, formatFor(tile.origin.kind, format));
        existing += std::filesystem::exists(std::filesystem::symlink_status(path, error)) ? 1 : 0;
    }
    return existing;
}

BatchOutcome exportTiles(HarvestWindow& window, const std::vector<Tile>& tiles,
                         const std::filesystem::path& folder, SaveFormat format,
                         ExistingFiles existing, const PngDecoder* png) {
    BatchOutcome outcome;
    TileNames names(folder, existing);
    HarvestPace pace(window);
    window.showStatus(messages::savingProgress(0, tiles.size()));
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        if (pace.due()) {
            window.showStatus(messages::savingProgress(i, tiles.size()));
            if (!pace.yield()) {
                outcome.stopped = true;
                break;
            }
        }
        const Tile& tile = tiles[i];
        const auto fail = [&](const Failure& failure) {
            outcome.failed.push_back({messages::tileName(tile.origin), failure});
        };
        const SaveFormat own = formatFor(tile.origin.kind, format);
        const auto bytes = tileSubject(tile, png).bytes(own);
        if (!bytes) {
            fail(bytes.failure());
            continue;
        }
        const auto written = names.write(tile, own, bytes->bytes);
        if (written.result) {
            ++outcome.saved;
            outcome.incomplete += bytes->missing.empty() ? 0 : 1;
        } else {
            fail(written.result.failure());
        }
    }
    window.showStatus(
        messages::savingProgress(outcome.saved + outcome.failed.size(), tiles.size()));
    return outcome;
}

} // namespace orvu
