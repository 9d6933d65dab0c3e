#include "controls/list_view.h"

#include "controls/image_list.h"
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
namespace {

constexpr int PictureTop = 4;   // from the tile's top to its picture
constexpr int CaptionGap = 3;   // between picture and caption
constexpr int TileBottom = 5;   // below the caption
constexpr int CaptionInset = 2; // left and right of the caption

// The picture as the native control shows a selected one: blended with the
// highlight where it is opaque.
QImage highlighted(const QImage& picture, const QColor& highlight) {
    QImage tinted = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&tinted);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    QColor veil = highlight;
    veil.setAlpha(110);
    painter.fillRect(tinted.rect(), veil);
    return tinted;
}

} // namespace

ListView::ListView(QWidget* parent) : QAbstractItemView(parent), m_items(new ListItems(this)) {
    setFont(designFont());
    setModel(m_items);
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

void ListView::setIcons(ImageList* images) {
    // The list rebuild binds again after every file of a folder scan.
    if (images == m_images)
        return;
    for (const QMetaObject::Connection& connection : std::as_const(m_imageConnections))
        disconnect(connection);
    m_imageConnections.clear();
    m_images = images;
    followImages();
    updateGeometries();
    viewport()->update();
}

ImageList* ListView::icons() const {
    return m_images.data();
}

void ListView::followImages() {
    if (!m_images)
        return;
    const ListImages* pictures = &m_images->listImages();
    m_imageConnections.append(
        connect(pictures, &ListImages::imageAdded, this, &ListView::repaintTilesShowing));
    QWidget* canvas = viewport();
    m_imageConnections.append(
        connect(pictures, &ListImages::cleared, canvas, [canvas] { canvas->update(); }));
    m_imageConnections.append(connect(m_images.data(), &ImageList::imageSizeChanged, this, [this] {
        updateGeometries();
        viewport()->update();
    }));
}

void ListView::repaintTilesShowing(int image) {
    // Pictures usually arrive before their tiles; then nothing visible changes.
    const TileGrid tiles = grid();
    const int offset = verticalOffset();
    const TileGrid::Range visible = tiles.tilesInBand(offset, offset + viewport()->height() - 1);
    for (int i = visible.first; i < visible.last; ++i) {
        const QModelIndex index = model()->index(i, 0, rootIndex());
        if (index.data(ListItems::ImageRole).toInt() == image)
            viewport()->update(tiles.tileRect(i).translated(0, -offset));
    }
}

std::optional<ListItem> ListView::selectedItem() const {
    if (!selectionModel() || !selectionModel()->hasSelection())
        return std::nullopt;
    QModelIndex index = currentIndex();
    if (!index.isValid() || !selectionModel()->isSelected(index))
        index = selectionModel()->selection().first().topLeft();
    return m_items->item(index.row());
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

QSize ListView::pictureSize() const {
    return m_images ? m_images->imageSize()
                    : QSize(ImageList::DefaultImageSize, ImageList::DefaultImageSize);
}

QSize ListView::tileSize() const {
    const QSize picture = pictureSize();
    const int captionHeight = fontMetrics().height() + 2;
    return QSize(std::max(MinimumTileWidth, picture.width() + 4 * CaptionInset),
                 PictureTop + picture.height() + CaptionGap + captionHeight + TileBottom);
}

TileGrid ListView::grid() const {
    return TileGrid(tileSize(), viewport()->width(), model()->rowCount(rootIndex()));
}

QRect ListView::pictureRect(const QRect& tile) const {
    const QSize picture = pictureSize();
    return QRect(
        QPoint(tile.left() + (tile.width() - picture.width()) / 2, tile.top() + PictureTop),
        picture);
}

QRect ListView::captionRect(const QRect& tile) const {
    const int top = pictureRect(tile).bottom() + 1 + CaptionGap;
    return QRect(tile.left() + CaptionInset, top, tile.width() - 2 * CaptionInset,
                 fontMetrics().height() + 2);
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

void ListView::scrollContentsBy(int dx, int dy) {
    viewport()->scroll(dx, dy);
}

void ListView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const TileGrid tiles = grid();
    const int offset = verticalOffset();
    const QRect dirty = event->rect();
    const TileGrid::Range band = tiles.tilesInBand(dirty.top() + offset, dirty.bottom() + offset);
    for (int i = band.first; i < band.last; ++i) {
        const QRect tile = tiles.tileRect(i).translated(0, -offset);
        if (tile.intersects(dirty))
            paintTile(painter, model()->index(i, 0, rootIndex()), tile);
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

void ListView::paintTile(QPainter& painter, const QModelIndex& index, const QRect& tile) {
    const bool selected = selectionModel() && selectionModel()->isSelected(index);
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    const QColor highlight = palette().color(group, QPalette::Highlight);

    if (m_images) {
        const QImage picture =
            m_images->listImages().item(index.data(ListItems::ImageRole).toInt());
        if (!picture.isNull())
            painter.drawImage(pictureRect(tile),
                              selected ? highlighted(picture, highlight) : picture);
    }

    const QRect caption = captionRect(tile);
    const QString text = fontMetrics().elidedText(index.data(Qt::DisplayRole).toString(),
                                                  Qt::ElideRight, caption.width() - 4);
    const int textWidth = std::min(caption.width(), fontMetrics().horizontalAdvance(text) + 4);
    const QRect label(caption.left() + (caption.width() - textWidth) / 2, caption.top(), textWidth,
                      caption.height());
    if (selected)
        painter.fillRect(label, highlight);
    painter.setPen(palette().color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter.drawText(label, Qt::AlignCenter | Qt::TextSingleLine, text);

    if (hasFocus() && index == currentIndex()) {
        painter.setPen(QPen(palette().color(group, QPalette::Text), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(label.adjusted(0, 0, -1, -1));
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
    if (m_images) {
        const QModelIndex under =
            currentIndex().isValid() ? currentIndex() : model()->index(rows.first(), 0);
        const QImage picture =
            m_images->listImages().item(under.data(ListItems::ImageRole).toInt());
        if (!picture.isNull())
            drag->setPixmap(QPixmap::fromImage(picture));
    }
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

} // namespace orvu
