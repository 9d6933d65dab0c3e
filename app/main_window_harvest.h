#pragma once

#include "harvest/harvest_window.h"

namespace orvu {

class MainWindow;

// The harvest's view of the main window: its preview box, its tiles (which
// its icon list shows), its Start button and status line.
class MainWindowHarvest final : public HarvestWindow {
public:
    explicit MainWindowHarvest(MainWindow& window) : m_window(window) {}

    Surface& previewImage() override;
    std::uint32_t previewBackground() const override;
    void refreshPreview() override;
    int pictureSize() const override;
    void showSharpPreview(const Surface& picture) override;

    TileCollection& tiles() override;

    void setStartEnabled(bool enabled) override;
    void showStatus(const std::string& text) override;
    void showStatus(const std::filesystem::path& path) override;
    bool yieldToEvents() override;
    bool includesCursors() const override;
    void reportProblem(const std::string& message) override;

private:
    MainWindow& m_window;
};

} // namespace orvu
