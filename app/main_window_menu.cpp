#include "app/main_window.h"
#include "app/tile_actions.h"
#include "app/tile_list_model.h"
#include "controls/list_view.h"
#include "qt/qt_text.h"

#include <QAction>
#include <QMenu>

namespace orvu {

// The menu a right click on a tile opens.
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
    c.iconList->dragData = [this](const QList<int>& rows) { return m_tileActions->dragData(rows); };
    m_tileRows->toolTipOf = [this](int row) { return m_tileActions->toolTip(row); };
}

} // namespace orvu
