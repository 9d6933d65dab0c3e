#pragma once

#include "harvest/harvest_window.h"

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

namespace orvu {

// A HarvestWindow without a screen: keeps the collection, the tiles and the
// status line as plain data, and counts the yields. The command-line tool
// and the benchmarks harvest through it; tests read what a harvest did.
class HeadlessWindow : public HarvestWindow {
public:
    struct Image {
        std::string key;
        IconCell cell;
        IconOrigin origin;
    };
    struct Tile {
        std::string text;
        std::size_t image = 0; // its index in images()
    };

    HeadlessWindow();

    Surface& previewImage() override { return m_preview; }
    std::uint32_t previewBackground() const override { return PreviewBackground; }
    void refreshPreview() override {}

    void setImageSize(int width, int height) override;
    bool addImage(const std::string& key, const IconCell& cell, const IconOrigin& origin) override;
    std::size_t imageCount() const override { return m_images.size(); }

    void bindListToImages() override { m_listBound = true; }
    std::size_t tileCount() const override { return m_tiles.size(); }
    void addTile(const std::string& text, std::size_t image) override;
    void clearTiles() override { m_tiles.clear(); }

    void setStartEnabled(bool enabled) override { m_startEnabled = enabled; }
    void showStatus(const std::string& text) override;
    void showStatus(const std::filesystem::path& path) override;
    bool yieldToEvents() override;
    void reportProblem(const std::string& message) override { m_problems.push_back(message); }

    // When false, the collection keeps no pictures, only keys (for long scans).
    void setKeepCells(bool keep) { m_keepCells = keep; }
    // When false, the status line's texts are not kept (nor worked out).
    void setKeepStatusHistory(bool keep) { m_keepStatusHistory = keep; }
    // The longest pause between yields (0: yield after every icon).
    void setLongestPause(std::chrono::milliseconds pause) { m_longestPause = pause; }
    std::chrono::milliseconds longestPause() const override { return m_longestPause; }
    void setTileLimit(std::size_t limit) { m_tileLimit = limit; }
    std::size_t tileLimit() const override { return m_tileLimit; }

    const std::vector<Image>& images() const { return m_images; }
    const std::vector<Tile>& tiles() const { return m_tiles; }
    const std::vector<std::string>& statusHistory() const { return m_statusHistory; }
    const std::vector<std::string>& problems() const { return m_problems; }
    bool startEnabled() const { return m_startEnabled; }
    bool listBound() const { return m_listBound; }
    int imageWidth() const { return m_imageWidth; }
    int imageHeight() const { return m_imageHeight; }
    std::uint64_t yields() const { return m_yields; }

    // Called at every yield; returning false stops the harvest.
    std::function<bool()> onYield;

    static constexpr std::uint32_t PreviewBackground = 0xFFFFFF;

private:
    Surface m_preview;
    std::vector<Image> m_images;
    std::unordered_set<std::string> m_keys;
    std::vector<Tile> m_tiles;
    std::vector<std::string> m_statusHistory;
    std::vector<std::string> m_problems;
    bool m_keepCells = true;
    bool m_keepStatusHistory = true;
    bool m_startEnabled = true;
    bool m_listBound = false;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    std::uint64_t m_yields = 0;
    std::chrono::milliseconds m_longestPause = HarvestWindow::longestPause();
    std::size_t m_tileLimit = MaxTiles;
};

} // namespace orvu
