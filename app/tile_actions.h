#pragma once

#include "harvest/tile_collection.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <memory>
#include <vector>

class QMimeData;
class QTemporaryDir;

namespace orvu {

class MainWindow;

// What the main window's tiles offer: the menu a right press in the list
// pops up, and what its entries, a double click, Ctrl+C and dragging tiles
// out do. The work is done without a screen (harvest/tile_actions.h, the
// save routine, saving many); this asks the user and tells them.
class TileActions : public QObject {
    Q_OBJECT

public:
    explicit TileActions(MainWindow& window);
    ~TileActions() override;

    // A press in the list: the right button pops the menu up at `position`
    // (viewport pixels), on a tile or not, with what can't be done now greyed.
    void listPressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);

    // "Save Icon As...": the selected tile, as .ico, .png or .bmp.
    void saveSelected();
    // The selected tile's details in a window of their own.
    void showSelectedDetails();
    // Saving many: the selected tiles, or all, into a folder, as a long job.
    void saveSelectedTiles();
    void saveAll();
    // The selected tile's largest image on the clipboard.
    void copySelected();

    // What dragging the tiles at `rows` out of the list carries.
    QMimeData* dragData(const QList<int>& rows);
    // The tip of the tile at `row`: its file, its icon's name and sizes.
    QString toolTip(int row) const;

private:
    std::optional<Tile> selectedTile() const;
    std::vector<Tile> tilesAt(const QList<int>& rows) const;
    void saveMany(const QList<int>& rows);

    MainWindow& m_window;
    // Where dragged tiles' icon files are written; removed when the program ends.
    std::unique_ptr<QTemporaryDir> m_dragFolder;
    int m_drags = 0;
};

} // namespace orvu
