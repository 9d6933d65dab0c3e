#pragma once

#include "harvest/harvest_window.h"

namespace orvu {

class Form1;

// The harvest's view of the main window: Picture1 as the preview surface,
// ImageList1 as the collection, ListView1 as the list, XPCommandButton3 as
// Start and Label1 as the status line.
class MainWindowHarvest final : public HarvestWindow {
public:
    explicit MainWindowHarvest(Form1& form) : m_form(form) {}

    Surface& previewImage() override;
    std::uint32_t previewBackground() const override;
    void refreshPreview() override;

    void setImageSize(int width, int height) override;
    bool addImage(const std::string& key, const IconCell& cell) override;
    std::size_t imageCount() const override;

    void bindListToImages() override;
    std::size_t tileCount() const override;
    void addTile(const std::string& text, std::size_t imageNumber) override;
    void clearTiles() override;

    void setStartEnabled(bool enabled) override;
    void showStatus(const std::string& text) override;
    void showStatus(const std::filesystem::path& path) override;
    bool yieldToEvents() override;
    void reportProblem(const std::string& message) override;

private:
    Form1& m_form;
};

} // namespace orvu
