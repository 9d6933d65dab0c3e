#pragma once

#include "harvest/harvest_window.h"

namespace orvu {

class MainWindow;

// The harvest's view of the main window: its preview box, image collection,
// icon list, Start button and status line.
class MainWindowHarvest final : public HarvestWindow {
public:
    explicit MainWindowHarvest(MainWindow& window) : m_window(window) {}

    Surface& previewImage() override;
    std::uint32_t previewBackground() const override;
    void refreshPreview() override;

    void setImageSize(int width, int height) override;
    bool addImage(const std::string& key, const IconCell& cell, const IconOrigin& origin) override;
    std::size_t imageCount() const override;

    void bindListToImages() override;
    std::size_t tileCount() const override;
    void addTile(const std::string& text, std::size_t image) override;
    void clearTiles() override;

    void setStartEnabled(bool enabled) override;
    void showStatus(const std::string& text) override;
    void showStatus(const std::filesystem::path& path) override;
    bool yieldToEvents() override;
    void reportProblem(const std::string& message) override;

private:
    MainWindow& m_window;
};

} // namespace orvu
