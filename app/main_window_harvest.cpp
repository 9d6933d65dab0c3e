#include "app/main_window_harvest.h"

#include "app/main_window.h"
#include "app/picture_box.h"
#include "app/status_line.h"
#include "controls/image_list.h"
#include "controls/list_view.h"
#include "controls/push_button.h"
#include "qt/dialogs.h"
#include "qt/qt_bridge.h"

#include <QCoreApplication>

namespace orvu {

Surface& MainWindowHarvest::previewImage() {
    return m_window.previewSurface();
}

std::uint32_t MainWindowHarvest::previewBackground() const {
    return m_window.previewBackground();
}

void MainWindowHarvest::refreshPreview() {
    PictureBox* preview = m_window.controls().previewBox;
    preview->setImage(toQImage(m_window.previewSurface()));
    preview->refresh();
}

void MainWindowHarvest::setImageSize(int width, int height) {
    ImageList* images = m_window.controls().iconImages;
    images->setImageWidth(static_cast<std::int16_t>(width));
    images->setImageHeight(static_cast<std::int16_t>(height));
}

bool MainWindowHarvest::addImage(const std::string& key, const IconCell& cell,
                                 const IconOrigin& origin) {
    if (!m_window.controls().iconImages->listImages().add(fromUtf8(key), toQImage(cell)))
        return false;
    m_window.addOrigin(origin);
    return true;
}

std::size_t MainWindowHarvest::imageCount() const {
    return static_cast<std::size_t>(m_window.controls().iconImages->listImages().count());
}

void MainWindowHarvest::bindListToImages() {
    m_window.controls().iconList->setIcons(m_window.controls().iconImages);
}

std::size_t MainWindowHarvest::tileCount() const {
    return static_cast<std::size_t>(m_window.controls().iconList->listItems().count());
}

void MainWindowHarvest::addTile(const std::string& text, std::size_t image) {
    m_window.controls().iconList->listItems().add(fromUtf8(text), static_cast<int>(image));
}

void MainWindowHarvest::clearTiles() {
    m_window.controls().iconList->listItems().clear();
}

void MainWindowHarvest::setStartEnabled(bool enabled) {
    m_window.controls().startButton->setEnabled(enabled);
}

void MainWindowHarvest::showStatus(const std::string& text) {
    m_window.controls().statusLine->setText(fromUtf8(text));
}

void MainWindowHarvest::showStatus(const std::filesystem::path& path) {
    m_window.controls().statusLine->setText(toDisplay(path));
}

bool MainWindowHarvest::yieldToEvents() {
    QCoreApplication::processEvents();
    return m_window.harvestMayContinue();
}

void MainWindowHarvest::reportProblem(const std::string& message) {
    m_window.dialogs().tell(&m_window, fromUtf8(message));
}

} // namespace orvu
