#include "app/main_window_harvest.h"

#include "app/main_window.h"
#include "app/picture_box.h"
#include "app/status_line.h"
#include "app/tile_list_model.h"
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

int MainWindowHarvest::pictureSize() const {
    TileListModel& rows = m_window.tileRows();
    rows.setPixelRatio(m_window.controls().iconList->devicePixelRatioF());
    return rows.pictureSize();
}

void MainWindowHarvest::showSharpPreview(const Surface& picture) {
    PictureBox* preview = m_window.controls().previewBox;
    preview->setImage(toQImage(picture), static_cast<qreal>(picture.width) / CellSize);
    preview->refresh();
}

TileCollection& MainWindowHarvest::tiles() {
    return m_window.tiles();
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
    m_window.tileRows().publishAppends();
    QCoreApplication::processEvents();
    return m_window.jobs().mayContinue();
}

bool MainWindowHarvest::includesCursors() const {
    return m_window.includesCursors();
}

void MainWindowHarvest::reportProblem(const std::string& message) {
    m_window.tileRows().publishAppends();
    m_window.dialogs().tell(&m_window, fromUtf8(message));
}

} // namespace orvu
