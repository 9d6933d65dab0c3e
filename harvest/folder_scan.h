#pragma once

#include "folder_listing.h"
#include "harvest_counters.h"
#include "harvest_window.h"
#include "icon_prefetch.h"
#include "png_decoder.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace orvu {

inline constexpr const char* IdlePrompt = "点击“开始”提取图标";
inline constexpr const char* ExecutablePattern = "*.exe";

// Something the scan could not read and went past.
struct SkippedEntry {
    std::filesystem::path path;
    std::string reason;
};

// ScanFolder: the folder-mode harvest. Walks the tree depth first, a
// folder's files before its subfolders, each in case-insensitive name order.
// Every file whose upper-cased name is Like the upper-cased pattern has its
// path shown on the status line and every icon harvested, keyed "my" and the
// running IconNumber, and the list is brought up to date after it. The
// window handles its events after every file, matching or not.
//
// A folder that can't be listed, or a matching file that can't be read, is
// skipped; the scan goes on and, at its end, reports what it skipped.
// Worker threads read the matching files of a folder a little ahead of the
// scan (IconPrefetch); everything the window sees happens on its own thread,
// in the walk's order.
class FolderScan {
public:
    FolderScan(HarvestWindow& window, HarvestCounters& counters, const PngDecoder* png);

    // Scans the tree below `folder`. Reports, and harvests nothing, when the
    // path names no folder that can be listed.
    void run(const std::filesystem::path& folder, const std::string& pattern = ExecutablePattern);

    std::uint64_t filesMatched() const { return m_filesMatched; }
    const std::vector<SkippedEntry>& skipped() const { return m_skipped; }
    // False when the scan stopped early (the window went away, a key was taken).
    bool completed() const { return !m_stopped; }

private:
    void scanFolder(const std::filesystem::path& folder);
    void harvestFile(const ListedFile& file, PrefetchedFile prefetched);
    void reportSkipped();

    HarvestWindow& m_window;
    HarvestCounters& m_counters;
    const PngDecoder* m_png = nullptr;
    FolderLister m_lister;
    std::unique_ptr<IconPrefetch> m_prefetch;
    std::u32string m_upperPattern;
    std::uint64_t m_filesMatched = 0;
    std::vector<SkippedEntry> m_skipped;
    bool m_stopped = false;
};

} // namespace orvu
