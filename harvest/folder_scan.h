#pragma once

#include "harvest/folder_keys.h"
#include "harvest/harvest_pace.h"
#include "harvest/harvest_window.h"
#include "harvest/messages.h"
#include "icons/png_decoder.h"
#include "platform/folder_listing.h"
#include "platform/icon_prefetch.h"
#include "platform/like_pattern.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvu {

// The folder-mode harvest. Walks the tree (FolderWalk) depth first, a
// folder's files before its subfolders, each in case-insensitive name order.
// Every file whose name matches the pattern in any letter case has its path shown
// on the status line and every icon harvested into a tile, keyed "my" and
// the next folder key. The window handles its events after every file,
// matching or not, and within a file whenever the window's longest pause has
// passed.
//
// A folder that can't be listed, or a matching file that can't be read, is
// skipped; the scan goes on and, at its end, reports what it skipped.
// Worker threads read the matching files of a folder a little ahead of the
// scan (IconPrefetch); everything the window sees happens on its own thread,
// in the walk's order.
class FolderScan {
public:
    FolderScan(HarvestWindow& window, FolderKeys& keys, const PngDecoder* png);

    // Scans the tree below `folder`; false when the scan stopped before its
    // end. Reports, and harvests nothing, when the path names no folder that
    // can be listed.
    bool run(const std::filesystem::path& folder, const std::string& pattern = ExecutablePattern);

    std::uint64_t filesMatched() const { return m_filesMatched; }
    const std::vector<messages::Skipped>& skipped() const { return m_skipped; }

private:
    // Harvests the matching files of one folder; false when the scan stops.
    bool scanFiles(const std::filesystem::path& folder, Result<FolderListing> listing);
    void harvestFile(const ListedFile& file, PrefetchedFile prefetched);

    HarvestWindow& m_window;
    FolderKeys& m_keys;
    const PngDecoder* m_png = nullptr;
    HarvestPace m_pace;
    std::unique_ptr<IconPrefetch> m_prefetch;
    std::optional<NamePattern> m_pattern;
    std::uint64_t m_filesMatched = 0;
    std::vector<messages::Skipped> m_skipped;
    bool m_stopped = false;
};

} // namespace orvu
