#pragma once

#include "controls/tile_grid.h"
#include "controls/tile_painter.h"

#include <QAbstractItemView>
#include <QList>
#include <QMimeData>
#include <functional>
#include <optional>

namespace orvu {

// A large-icon list over any list model: each row a tile with its picture
// (the row's decoration, a QImage of iconSize()) centred above its caption
// (the row's text), wrapping left to right, then down, with a vertical
// scroll bar. Colours follow the palette: Base behind the tiles, Text for
// the captions. TilePainter draws each tile. A picture with a device pixel
// ratio above 1 (a 64 x 64 image at 2) fills the same logical size, so on a
// denser screen the model can hand out pictures drawn for it.
//
// Tiles are selected as in any list: a click selects one, Ctrl+click toggles
// one, Shift+click extends to one, dragging from empty space draws a band
// that selects what it touches, Ctrl+A selects all and the arrow keys move
// and (with Shift) extend. A right press on a tile that isn't selected
// selects it alone; on a selected one it keeps the selection. Dragging
// selected tiles out of the list hands them over as dragData() makes them.
//
// It is a view of its own, not a QListView in icon mode, for two reasons:
// Shift selects a range in list order (QListView selects the rectangle
// between the two tiles), and appending a tile must cost the same however
// long the list is: layout is arithmetic over a uniform grid and painting
// covers the visible rows only (QListView lays out every item again).
class ListView : public QAbstractItemView {
    Q_OBJECT

public:
    static constexpr int MinimumTileWidth = TilePainter::MinimumTileWidth;

    explicit ListView(QWidget* parent = nullptr);

    // The selected tile's row: the current one where it is selected, else
    // the first selected; nullopt when none is selected.
    std::optional<int> selectedRow() const;
    // The rows of every selected tile, in list order.
    QList<int> selectedRows() const;

    // What dragging the tiles at `rows` out of the list carries; null (the
    // default) means tiles can't be dragged out.
    std::function<QMimeData*(const QList<int>& rows)> dragData;

    // The size of every tile at the current font and picture size.
    QSize tileSize() const;
    TilePainter tilePainter() const;

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
    // The list is about to paint on a screen of another density than it
    // last painted on (at its first paint too): `ratio` device pixels a pixel.
    void pixelRatioChanged(qreal ratio);

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
    void reset() override;
    void scrollContentsBy(int dx, int dy) override;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    TileGrid grid() const;
    // Selects every tile from the anchor (the tile of the last plain or Ctrl
    // click, or move) to `index` in list order; with Ctrl added to what is
    // selected, else instead of it. `index` becomes the current tile.
    void selectRangeTo(const QModelIndex& index, Qt::KeyboardModifiers modifiers);

    // The band being dragged out from empty space, from where the press was
    // in content coordinates (so that it follows scrolling) to the pointer.
    std::optional<QPoint> m_bandStart;
    QPersistentModelIndex m_anchor;
    QRect m_band;           // in viewport coordinates; empty when there is none
    qreal m_pixelRatio = 0; // of the last paint
};

} // namespace orvu
