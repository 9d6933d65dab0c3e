#include "controls/list_view.h"

#include "controls/skin.h"

#include <QDrag>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionRubberBand>
#include <algorithm>
#include <map>

namespace orvu {

ListView::ListView(QWidget* parent) : QAbstractItemView(parent) {
    setFont(designFont());
    setIconSize(QSize(32, 32));
    setSelectionMode(ExtendedSelection);
    setSelectionBehavior(SelectItems);
    setEditTriggers(NoEditTriggers);
    setDragEnabled(true);
    setDragDropMode(DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

std::optional<int> ListView::selectedRow() const {
    if (!selectionModel() || !selectionModel()->hasSelection())
        return std::nullopt;
    QModelIndex index = currentIndex();
    if (!index.isValid() || !selectionModel()->isSelected(index))
        index = selectionModel()->selection().first().topLeft();
    return index.isValid() ? std::optional<int>(index.row()) : std::nullopt;
}

QList<int> ListView::selectedRows() const {
    QList<int> rows;
    if (!selectionModel())
        return rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

TilePainter ListView::tilePainter() const {
    return TilePainter(font(), palette(), iconSize());
}

QSize ListView::tileSize() const {
    return tilePainter().tileSize();
}

TileGrid ListView::grid() const {
    return TileGrid(tileSize(), viewport()->width(), model()->rowCount(rootIndex()));
}

QRect ListView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != model() || index.parent() != rootIndex())
        return {};
    const QRect tile = grid().tileRect(index.row());
    return tile.isNull() ? QRect() : tile.translated(-horizontalOffset(), -verticalOffset());
}

void ListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    const QRect tile = visualRect(index);
    if (tile.isNull())
        return;
    const int height = viewport()->height();
    QScrollBar* bar = verticalScrollBar();
    switch (hint) {
    case PositionAtTop:
        bar->setValue(bar->value() + tile.top());
        break;
    case PositionAtBottom:
        bar->setValue(bar->value() + tile.bottom() + 1 - height);
        break;
    case PositionAtCenter:
        bar->setValue(bar->value() + tile.center().y() - height / 2);
        break;
    case EnsureVisible:
        if (tile.top() < 0)
            bar->setValue(bar->value() + tile.top());
        else if (tile.bottom() >= height)
            bar->setValue(bar->value() + std::min(tile.top(), tile.bottom() + 1 - height));
        break;
    }
}

QModelIndex ListView::indexAt(const QPoint& point) const {
    const int tile = grid().tileAt(point + QPoint(horizontalOffset(), verticalOffset()));
    return tile < 0 ? QModelIndex() : model()->index(tile, 0, rootIndex());
}

QModelIndex ListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers) {
    const TileGrid tiles = grid();
    if (tiles.count() == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return model()->index(0, 0, rootIndex());

    const int columns = tiles.columns();
    const int rowsPerPage = std::max(1, viewport()->height() / tileSize().height());
    int row = current.row();
    switch (cursorAction) {
    case MoveLeft:
    case MovePrevious:
        row -= 1;
        break;
    case MoveRight:
    case MoveNext:
        row += 1;
        break;
    case MoveUp:
        row -= columns;
        break;
    case MoveDown:
        // From the row above the last, a short last row still takes the cursor.
        if (row + columns < tiles.count())
            row += columns;
        else if (row / columns + 1 < tiles.rows())
            row = tiles.count() - 1;
        break;
    case MovePageUp:
        row = std::max(row % columns, row - rowsPerPage * columns);
        break;
    case MovePageDown:
        row = std::min(tiles.count() - 1, row + rowsPerPage * columns);
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = tiles.count() - 1;
        break;
    }
    if (row < 0 || row >= tiles.count())
        return current;
    return model()->index(row, 0, rootIndex());
}

int ListView::horizontalOffset() const {
    return 0;
}

int ListView::verticalOffset() const {
    return verticalScrollBar()->value();
}

bool ListView::isIndexHidden(const QModelIndex&) const {
    return false;
}

void ListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    const TileGrid tiles = grid();
    const QRect area = rect.normalized().translated(horizontalOffset(), verticalOffset());
    const TileGrid::Range band = tiles.tilesInBand(area.top(), area.bottom());
    QItemSelection selection;
    for (int rowStart = band.first; rowStart < band.last; rowStart += tiles.columns()) {
        int first = -1;
        int last = -1;
        for (int i = rowStart; i < std::min(band.last, rowStart + tiles.columns()); ++i) {
            if (!tiles.tileRect(i).intersects(area))
                continue;
            if (first < 0)
                first = i;
            last = i;
        }
        if (first >= 0)
            selection.select(model()->index(first, 0, rootIndex()),
                             model()->index(last, 0, rootIndex()));
    }
    selectionModel()->select(selection, command);
}

QRegion ListView::visualRegionForSelection(const QItemSelection& selection) const {
    const TileGrid tiles = grid();
    const int offset = verticalOffset();
    const TileGrid::Range visible = tiles.tilesInBand(offset, offset + viewport()->height() - 1);
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        if (range.parent() != rootIndex())
            continue;
        const int first = std::max(range.top(), visible.first);
        const int last = std::min(range.bottom() + 1, visible.last);
        for (int i = first; i < last; ++i)
            region += tiles.tileRect(i).translated(0, -offset);
    }
    return region;
}

void ListView::updateGeometries() {
    const TileGrid tiles = grid();
    const int height = viewport()->height();
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, tiles.contentHeight() - height));
    bar->setPageStep(std::max(1, height));
    bar->setSingleStep(std::max(1, tileSize().height() / 3));
    QAbstractItemView::updateGeometries();
}

void ListView::rowsInserted(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsInserted(parent, start, end);
    if (parent != rootIndex())
        return;
    updateGeometries();
    // Only new tiles that land in view need painting.
    const QRect first = visualRect(model()->index(start, 0, rootIndex()));
    if (first.top() < viewport()->height())
        viewport()->update();
}

void ListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
    scheduleDelayedItemsLayout();
}

void ListView::reset() {
    QAbstractItemView::reset();
    m_anchor = QPersistentModelIndex();
    updateGeometries();
    viewport()->update();
}

void ListView::scrollContentsBy(int dx, int dy) {
    viewport()->scroll(dx, dy);
}

bool ListView::event(QEvent* event) {
    // A move to another screen, whose density may differ: paint again.
    if (event->type() == QEvent::ScreenChangeInternal)
        viewport()->update();
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    if (event->type() == QEvent::DevicePixelRatioChange)
        viewport()->update();
#endif
    return QAbstractItemView::event(event);
}

void ListView::paintEvent(QPaintEvent* event) {
    if (const qreal ratio = viewport()->devicePixelRatioF(); ratio != m_pixelRatio) {
        m_pixelRatio = ratio;
        emit pixelRatioChanged(ratio);
    }
    QPainter painter(viewport());
    const TilePainter tiles = tilePainter();
    const TileGrid layout = grid();
    const int offset = verticalOffset();
    const QRect dirty = event->rect();
    const TileGrid::Range band = layout.tilesInBand(dirty.top() + offset, dirty.bottom() + offset);
    for (int i = band.first; i < band.last; ++i) {
        const QRect tile = layout.tileRect(i).translated(0, -offset);
        if (!tile.intersects(dirty))
            continue;
        const QModelIndex index = model()->index(i, 0, rootIndex());
        const TilePainter::State state{selectionModel() && selectionModel()->isSelected(index),
                                       index == currentIndex(), hasFocus()};
        tiles.paint(painter, tile, index.data(Qt::DecorationRole).value<QImage>(),
                    index.data(Qt::DisplayRole).toString(), state);
    }
    if (!m_band.isEmpty()) {
        QStyleOptionRubberBand option;
        option.initFrom(viewport());
        option.shape = QRubberBand::Rectangle;
        option.opaque = false;
        option.rect = m_band;
        style()->drawControl(QStyle::CE_RubberBand, &option, &painter, viewport());
    }
}

void ListView::mousePressEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::RightButton && button != Qt::MiddleButton) {
        event->ignore();
        return;
    }
    const QPoint position = event->position().toPoint();
    const QModelIndex index = indexAt(position);
    if (button == Qt::LeftButton && index.isValid() && (event->modifiers() & Qt::ShiftModifier)) {
        selectRangeTo(index, event->modifiers());
    } else if (button == Qt::LeftButton) {
        // Selection by the modifiers, and the start of a drag or a band.
        QAbstractItemView::mousePressEvent(event);
        if (!index.isValid())
            m_bandStart = position + QPoint(horizontalOffset(), verticalOffset());
        else
            m_anchor = index;
    } else if (button == Qt::RightButton) {
        if (index.isValid() && !selectionModel()->isSelected(index))
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        else if (index.isValid())
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        else
            selectionModel()->clearSelection();
    }
    event->accept();
    emit pressed(button, event->modifiers(), position);
}

void ListView::mouseMoveEvent(QMouseEvent* event) {
    QAbstractItemView::mouseMoveEvent(event);
    if (m_bandStart && (event->buttons() & Qt::LeftButton)) {
        const QRect before = m_band;
        m_band = QRect(*m_bandStart - QPoint(horizontalOffset(), verticalOffset()),
                       event->position().toPoint())
                     .normalized();
        viewport()->update((before | m_band).adjusted(-1, -1, 1, 1));
    }
}

void ListView::mouseReleaseEvent(QMouseEvent* event) {
    QAbstractItemView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && m_bandStart) {
        m_bandStart.reset();
        viewport()->update(m_band.adjusted(-1, -1, 1, 1));
        m_band = QRect();
    }
}

void ListView::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid())
        emit tileDoubleClicked(index.row());
}

void ListView::keyPressEvent(QKeyEvent* event) {
    // The item view would copy the current tile's caption as text.
    if (event->matches(QKeySequence::Copy)) {
        event->accept();
        emit copyRequested();
        return;
    }
    static const std::map<int, CursorAction> moves{
        {Qt::Key_Left, MoveLeft},     {Qt::Key_Right, MoveRight},       {Qt::Key_Up, MoveUp},
        {Qt::Key_Down, MoveDown},     {Qt::Key_Home, MoveHome},         {Qt::Key_End, MoveEnd},
        {Qt::Key_PageUp, MovePageUp}, {Qt::Key_PageDown, MovePageDown},
    };
    const auto move = moves.find(event->key());
    if (move != moves.end() && (event->modifiers() & Qt::ShiftModifier)) {
        const QModelIndex next = moveCursor(move->second, event->modifiers());
        if (next.isValid())
            selectRangeTo(next, event->modifiers());
        event->accept();
        return;
    }
    QAbstractItemView::keyPressEvent(event);
    if (move != moves.end() && !(event->modifiers() & Qt::ControlModifier))
        m_anchor = currentIndex();
}

void ListView::selectRangeTo(const QModelIndex& index, Qt::KeyboardModifiers modifiers) {
    const QModelIndex anchor = m_anchor.isValid() ? QModelIndex(m_anchor) : currentIndex();
    const int first = std::min(anchor.isValid() ? anchor.row() : index.row(), index.row());
    const int last = std::max(anchor.isValid() ? anchor.row() : index.row(), index.row());
    const QItemSelection range(model()->index(first, 0, rootIndex()),
                               model()->index(last, 0, rootIndex()));
    selectionModel()->select(range, (modifiers & Qt::ControlModifier)
                                        ? QItemSelectionModel::Select
                                        : QItemSelectionModel::ClearAndSelect);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    if (!m_anchor.isValid())
        m_anchor = anchor.isValid() ? anchor : index;
    scrollTo(index);
}

void ListView::startDrag(Qt::DropActions) {
    const QList<int> rows = selectedRows();
    if (!dragData || rows.isEmpty())
        return;
    QMimeData* carried = dragData(rows);
    if (!carried)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(carried);
    const QModelIndex under =
        currentIndex().isValid() ? currentIndex() : model()->index(rows.first(), 0);
    const QImage picture = under.data(Qt::DecorationRole).value<QImage>();
    if (!picture.isNull())
        drag->setPixmap(QPixmap::fromImage(picture));
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

} // namespace orvu
