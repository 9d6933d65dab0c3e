#pragma once

#include "harvest/harvest_window.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvu {

// A HarvestWindow without a screen: keeps the tiles and the status line as
// plain data, and counts the yields. The benchmarks harvest through it;
// tests read what a harvest did.
class HeadlessWindow : public HarvestWindow {
public:
    HeadlessWindow();

    Surface& previewImage() override { return m_preview; }
    std::uint32_t previewBackground() const override { return PreviewBackground; }
    void refreshPreview() override {}

    TileCollection& tiles() override { return m_tiles; }
    const TileCollection& tiles() const { return m_tiles; }

    void setStartEnabled(bool enabled) override { m_startEnabled = enabled; }
    void showStatus(const std::string& text) override;
    void showStatus(const std::filesystem::path& path) override;
    bool yieldToEvents() override;
    void reportProblem(const std::string& message) override { m_problems.push_back(message); }

    // When false, the status line's texts are not kept (nor worked out).
    void setKeepStatusHistory(bool keep) { m_keepStatusHistory = keep; }
    // The longest pause between yields (0: yield after every icon).
    void setLongestPause(std::chrono::milliseconds pause) { m_longestPause = pause; }
    std::chrono::milliseconds longestPause() const override { return m_longestPause; }
    void setTileLimit(std::size_t limit) { m_tileLimit = limit; }
    std::size_t tileLimit() const override { return m_tileLimit; }
    void setIncludesCursors(bool include) { m_includesCursors = include; }
    bool includesCursors() const override { return m_includesCursors; }

    const std::vector<std::string>& statusHistory() const { return m_statusHistory; }
    const std::vector<std::string>& problems() const { return m_problems; }
    bool startEnabled() const { return m_startEnabled; }
    std::uint64_t yields() const { return m_yields; }

    // Called at every yield; returning false stops the harvest.
    std::function<bool()> onYield;

    static constexpr std::uint32_t PreviewBackground = 0xFFFFFF;

private:
    Surface m_preview;
    TileCollection m_tiles;
    std::vector<std::string> m_statusHistory;
    std::vector<std::string> m_problems;
    bool m_keepStatusHistory = true;
    bool m_startEnabled = true;
    std::uint64_t m_yields = 0;
    std::chrono::milliseconds m_longestPause = HarvestWindow::longestPause();
    std::size_t m_tileLimit = MaxTiles;
    bool m_includesCursors = false;
};

} // namespace orvu
