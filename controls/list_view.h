#pragma once

#include "controls/list_items.h"
#include "controls/tile_grid.h"

#include <QAbstractItemView>
#include <QList>
#include <QMimeData>
#include <QPointer>
#include <functional>
#include <optional>

namespace orvu {

class ImageList;

// A large-icon list: each item a tile with its picture (from the bound image
// collection) centred above its caption, wrapping left to right, then down,
// with a vertical scroll bar. Colours follow the palette: Base behind the
// tiles, Text for the captions.
//
// Tiles are selected as in any list: a click selects one, Ctrl+click toggles
// one, Shift+click extends to one, dragging from empty space draws a band
// that selects what it touches, Ctrl+A selects all and the arrow keys move
// and (with Shift) extend. A right press on a tile that isn't selected
// selects it alone; on a selected one it keeps the selection. Dragging
// selected tiles out of the list hands them over as dragData() makes them.
//
// Layout is arithmetic over a uniform grid and painting covers the visible
// rows only, so appending a tile costs the same however long the list is.
class ListView : public QAbstractItemView {
    Q_OBJECT

public:
    static constexpr int MinimumTileWidth = 75;

    explicit ListView(QWidget* parent = nullptr);

    ListItems& listItems() { return *m_items; }
    const ListItems& listItems() const { return *m_items; }

    // Binds the collection whose pictures the tiles show (a tile shows the
    // picture at its item's image index); nullptr unbinds, and the tiles show
    // captions only.
    void setIcons(ImageList* images);
    ImageList* icons() const;

    // The selected item: the current one where it is selected, else the
    // first selected; nullopt when none is selected.
    std::optional<ListItem> selectedItem() const;
    // The rows of every selected tile, in list order.
    QList<int> selectedRows() const;

    // What dragging the tiles at `rows` out of the list carries; null (the
    // default) means tiles can't be dragged out.
    std::function<QMimeData*(const QList<int>& rows)> dragData;

    // The size of every tile at the current font and picture size.
    QSize tileSize() const;

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

signals:
    // Every press of the left, right or middle button in the list, on a tile
    // or not; `position` in viewport pixels. A left or right press on a tile
    // has selected it by then, and one elsewhere has cleared the selection.
    void pressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    // A double click of the left button on a tile, which it has selected.
    void tileDoubleClicked(int row);
    // The copy key (Ctrl+C) was pressed in the list.
    void copyRequested();

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;

    void updateGeometries() override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void scrollContentsBy(int dx, int dy) override;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    TileGrid grid() const;
    QSize pictureSize() const;
    QRect pictureRect(const QRect& tile) const;
    QRect captionRect(const QRect& tile) const;
    void paintTile(QPainter& painter, const QModelIndex& index, const QRect& tile);
    void followImages();
    void repaintTilesShowing(int image);
    // Selects every tile from the anchor (the tile of the last plain or Ctrl
    // click, or move) to `index` in list order; with Ctrl added to what is
    // selected, else instead of it. `index` becomes the current tile.
    void selectRangeTo(const QModelIndex& index, Qt::KeyboardModifiers modifiers);

    ListItems* m_items;
    QPointer<ImageList> m_images;
    // The band being dragged out from empty space, from where the press was
    // in content coordinates (so that it follows scrolling) to the pointer.
    std::optional<QPoint> m_bandStart;
    QPersistentModelIndex m_anchor;
    QRect m_band; // in viewport coordinates; empty when there is none
    QList<QMetaObject::Connection> m_imageConnections;
};

} // namespace orvu
