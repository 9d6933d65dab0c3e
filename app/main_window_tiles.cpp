// The main window's tiles: the menu a right press in the list pops up, and
// what it offers beside the controller's flows: the details window, the
// clipboard, dragging tiles out.

#include "app/icon_details_window.h"
#include "app/main_window.h"
#include "app/tile_list_model.h"
#include "app/tile_mime_data.h"
#include "controls/list_view.h"
#include "qt/qt_bridge.h"
#include "qt/qt_text.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <algorithm>

namespace orvu {

void MainWindow::createTileMenu() {
    Controls& c = m_controls;
    c.tileMenu = new QMenu(this);
    c.tileMenu->setObjectName(QStringLiteral("tileMenu"));
    const auto item = [&](const char* name, const QString& caption) {
        QAction* action = c.tileMenu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    c.saveIconAction = item("saveIconAction", qtText("Save Icon As..."));
    c.detailsAction = item("detailsAction", qtText("Icon Properties..."));
    c.tileMenu->addSeparator();
    c.saveSelectedAction = item("saveSelectedAction", qtText("Save Selected Icons..."));
    c.saveAllAction = item("saveAllAction", qtText("Save All..."));
    c.copyAction = item("copyAction", qtText("Copy"));
    // Shown in the menu; the list itself takes the key.
    c.copyAction->setShortcut(QKeySequence::Copy);
    c.copyAction->setShortcutContext(Qt::WidgetShortcut);
    c.tileMenu->addSeparator();
    c.includeCursorsAction = item("includeCursorsAction", qtText("Include Cursors"));
    c.includeCursorsAction->setCheckable(true);
}

std::optional<std::size_t> MainWindow::selectedRow() const {
    const auto row = m_controls.iconList->selectedRow();
    if (!row || *row < 0)
        return std::nullopt;
    return static_cast<std::size_t>(*row);
}

void MainWindow::listPressed(Qt::MouseButton button, QPoint position) {
    if (button != Qt::RightButton)
        return;
    const Controls& c = m_controls;
    const auto menu = m_controller->tileMenu(c.iconList->selectionModel()->hasSelection());
    c.saveSelectedAction->setEnabled(menu.saveSelected);
    c.saveAllAction->setEnabled(menu.saveAll);
    c.copyAction->setEnabled(menu.copy);
    c.includeCursorsAction->setChecked(m_controller->includesCursors());
    c.tileMenu->popup(c.iconList->viewport()->mapToGlobal(position));
}

void MainWindow::showSelectedDetails() {
    auto details = m_controller->details(selectedRow());
    if (!details)
        return;
    auto* window = new IconDetailsWindow(std::move(*details), m_asker, this);
    // Below and right of the main window, as far as the screen has room.
    QPoint at = pos() + QPoint(24, 48);
    if (const QScreen* shown = screen()) {
        const QRect room = shown->availableGeometry();
        at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - window->width())));
        at.setY(std::max(room.top(), std::min(at.y(), room.bottom() + 1 - window->height())));
    }
    window->move(at);
    window->show();
}

void MainWindow::copySelected() {
    const auto png = m_controller->copyPng(selectedRow());
    if (!png)
        return;
    const QByteArray bytes = toByteArray(*png);
    // The largest image with its alpha, as a picture and as PNG data.
    auto* copied = new QMimeData;
    copied->setData(QStringLiteral("image/png"), bytes);
    copied->setImageData(QImage::fromData(bytes, "png"));
    QGuiApplication::clipboard()->setMimeData(copied);
}

QMimeData* MainWindow::dragData(const QList<int>& rows) {
    if (!m_dragFolder)
        m_dragFolder = std::make_unique<QTemporaryDir>(
            QDir::temp().filePath(QStringLiteral("orvu-icons-drag-XXXXXX")));
    if (!m_dragFolder->isValid())
        return nullptr;
    const QString folder = m_dragFolder->filePath(QStringLiteral("drag-%1").arg(++m_drags));
    QDir().mkpath(folder);
    std::vector<Tile> tiles;
    for (const int row : rows) {
        if (row >= 0 && static_cast<std::size_t>(row) < m_controller->tiles().size())
            tiles.push_back(m_controller->tiles().at(static_cast<std::size_t>(row)));
    }
    return new TileMimeData(std::move(tiles), m_controller->png(), folder);
}

} // namespace orvu
