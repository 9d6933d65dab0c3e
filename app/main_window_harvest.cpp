#include "app/main_window_harvest.h"

#include "qt/dialogs.h"
#include "app/form1.h"
#include "controls/image_list.h"
#include "controls/list_view.h"
#include "app/picture_box.h"
#include "qt/qt_bridge.h"
#include "app/status_line.h"
#include "controls/xp_command_button.h"

#include <QCoreApplication>

namespace orvu {

Surface& MainWindowHarvest::previewImage() {
    return m_form.previewSurface();
}

std::uint32_t MainWindowHarvest::previewBackground() const {
    return m_form.Picture1->backColor().rgb() & 0xFFFFFF;
}

void MainWindowHarvest::refreshPreview() {
    m_form.Picture1->setImage(toQImage(m_form.previewSurface()));
    m_form.Picture1->refresh();
}

void MainWindowHarvest::setImageSize(int width, int height) {
    m_form.ImageList1->setImageWidth(static_cast<std::int16_t>(width));
    m_form.ImageList1->setImageHeight(static_cast<std::int16_t>(height));
}

bool MainWindowHarvest::addImage(const std::string& key, const IconCell& cell) {
    return m_form.ImageList1->listImages().add(fromUtf8(key), toQImage(cell));
}

std::size_t MainWindowHarvest::imageCount() const {
    return static_cast<std::size_t>(m_form.ImageList1->listImages().count());
}

void MainWindowHarvest::bindListToImages() {
    m_form.ListView1->setIcons(m_form.ImageList1);
}

std::size_t MainWindowHarvest::tileCount() const {
    return static_cast<std::size_t>(m_form.ListView1->listItems().count());
}

void MainWindowHarvest::addTile(const std::string& text, std::size_t imageNumber) {
    m_form.ListView1->listItems().add(fromUtf8(text), static_cast<int>(imageNumber));
}

void MainWindowHarvest::clearTiles() {
    m_form.ListView1->listItems().clear();
}

void MainWindowHarvest::setStartEnabled(bool enabled) {
    m_form.XPCommandButton3->setEnabled(enabled);
}

void MainWindowHarvest::showStatus(const std::string& text) {
    m_form.Label1->setText(fromUtf8(text));
}

void MainWindowHarvest::showStatus(const std::filesystem::path& path) {
    m_form.Label1->setText(toDisplay(path));
}

bool MainWindowHarvest::yieldToEvents() {
    QCoreApplication::processEvents();
    return !m_form.ending();
}

void MainWindowHarvest::reportProblem(const std::string& message) {
    m_form.dialogs().tell(&m_form, fromUtf8(message));
}

} // namespace orvu
