#include "app/image_sheet.h"

#include "app/window_design.h"
#include "controls/push_button.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>
#include <utility>

namespace orvu {
namespace {

using imageGrid::ButtonGap;
using imageGrid::Gap;
using imageGrid::Margin;
using imageGrid::PictureGap;

} // namespace

ImageSheet::ImageSheet(const std::vector<ImageDescription>& images, std::vector<QString> labels,
                       QString saveCaption, QWidget* parent)
    : QAbstractScrollArea(parent), m_saveCaption(std::move(saveCaption)) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setMouseTracking(true);
    m_button = pushButtonSize(fontMetrics(), m_saveCaption);
    m_lineHeight = fontMetrics().height();
    m_textHeight = PictureGap + 2 * m_lineHeight + ButtonGap + m_button.height();
    // Labels repeat (an icon of thousands of images has few kinds of them):
    // each text is measured once.
    QHash<QString, int> widths;
    m_rows.reserve(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        Row row;
        row.room = toQSize(imageGrid::pictureRoom(images[i].width, images[i].height));
        row.label = i < labels.size() ? std::move(labels[i]) : QString();
        auto width = widths.constFind(row.label);
        if (width == widths.constEnd())
            width = widths.insert(row.label, fontMetrics().horizontalAdvance(row.label));
        row.textWidth = std::max(*width, m_button.width());
        m_rows.push_back(std::move(row));
    }
    layOut();
}

std::vector<imageGrid::Cell> ImageSheet::cells() const {
    std::vector<imageGrid::Cell> cells;
    cells.reserve(m_rows.size());
    for (const Row& row : m_rows)
        cells.push_back(imageGrid::Cell{
            {std::max(row.room.width(), row.textWidth), row.room.height() + m_textHeight},
            imageGrid::standsAlone({row.room.width(), row.room.height()})});
    return cells;
}

int ImageSheet::heightFor(int width) const {
    const int frame = 2 * frameWidth();
    const int inside = width - frame - verticalScrollBar()->sizeHint().width() - 2 * Margin;
    return imageGrid::flow(cells(), inside, Gap).height + 2 * Margin + frame;
}

void ImageSheet::layOut() {
    m_layout = imageGrid::flow(cells(), viewport()->width() - 2 * Margin, Gap);
    m_height = m_layout.height + 2 * Margin;
    updateScrollBar();
    viewport()->update();
}

QRect ImageSheet::cellRect(std::size_t i) const {
    return toQRect(m_layout.cells.at(i)).translated(Margin, Margin - verticalScrollBar()->value());
}

int ImageSheet::textTop(std::size_t i) const {
    return cellRect(i).bottom() + 1 - m_textHeight + PictureGap;
}

QString ImageSheet::label(std::size_t i) const {
    const Row& row = m_rows.at(i);
    return row.failure.isEmpty() ? row.label : row.label + u'\n' + row.failure;
}

void ImageSheet::setPicture(std::size_t i, const QPixmap& picture) {
    Row& row = m_rows.at(i);
    // A picture larger than its directory entry said keeps to the room laid
    // out for it.
    const QSize size = picture.deviceIndependentSize().toSize();
    const bool fits = size.width() <= row.room.width() && size.height() <= row.room.height();
    if (fits) {
        row.picture = picture;
    } else {
        row.picture = picture.scaled(row.room * picture.devicePixelRatio(), Qt::KeepAspectRatio,
                                     Qt::SmoothTransformation);
        row.picture.setDevicePixelRatio(picture.devicePixelRatio());
    }
    updateRow(i);
}

void ImageSheet::setFailure(std::size_t i, const QString& reason) {
    m_rows.at(i).failure = reason;
    updateRow(i);
}

QRect ImageSheet::saveButtonRect(std::size_t i) const {
    return QRect(QPoint(cellRect(i).left(), textTop(i) + 2 * m_lineHeight + ButtonGap), m_button);
}

void ImageSheet::scrollTo(std::size_t i) {
    verticalScrollBar()->setValue(m_layout.cells.at(i).top);
}

void ImageSheet::updateRow(std::size_t i) {
    const QRect area = cellRect(i);
    if (area.intersects(viewport()->rect()))
        viewport()->update(area);
}

void ImageSheet::updateScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, m_height - viewport()->height()));
    bar->setPageStep(viewport()->height());
    bar->setSingleStep(20);
}

void ImageSheet::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        layOut();
    else
        updateScrollBar();
}

std::optional<std::size_t> ImageSheet::buttonAt(QPoint point) const {
    const int y = point.y() + verticalScrollBar()->value() - Margin;
    // The last grid row that starts above the point, and its cells.
    const auto after =
        std::partition_point(m_layout.rows.begin(), m_layout.rows.end(),
                             [y](const imageGrid::Row& row) { return row.top <= y; });
    if (after == m_layout.rows.begin())
        return std::nullopt;
    const std::size_t end = after == m_layout.rows.end() ? m_rows.size() : after->first;
    for (std::size_t i = std::prev(after)->first; i < end; ++i) {
        if (saveButtonRect(i).contains(point))
            return i;
    }
    return std::nullopt;
}

void ImageSheet::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    painter.fillRect(area, palette().color(QPalette::Window));
    const int offset = verticalScrollBar()->value() - Margin;
    // Only the grid rows in view: the first whose bottom reaches the area, on.
    auto row = std::partition_point(
        m_layout.rows.begin(), m_layout.rows.end(),
        [&](const imageGrid::Row& r) { return r.top + r.height - offset < area.top(); });
    for (; row != m_layout.rows.end() && row->top - offset <= area.bottom(); ++row) {
        const auto next = std::next(row);
        const std::size_t end = next == m_layout.rows.end() ? m_rows.size() : next->first;
        for (std::size_t i = row->first; i < end; ++i) {
            const Row& image = m_rows[i];
            const QRect cell = cellRect(i);
            const int texts = textTop(i);
            // Pictures stand on their row's line of labels.
            if (!image.picture.isNull())
                painter.drawPixmap(cell.left(), texts - PictureGap - image.room.height(),
                                   image.picture);
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(QRect(cell.left(), texts, cell.width(), m_lineHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, image.label);
            painter.drawText(QRect(cell.left(), texts + m_lineHeight, cell.width(), m_lineHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, image.failure);
            const bool hovered = m_hovered == i;
            paintPushButton(painter, saveButtonRect(i), m_saveCaption,
                            buttonLook(canSave(i), hovered && m_pressed == i, hovered), false);
        }
    }
}

void ImageSheet::mousePressEvent(QMouseEvent* event) {
    m_pressed =
        event->button() == Qt::LeftButton ? buttonAt(event->position().toPoint()) : std::nullopt;
    if (m_pressed)
        updateRow(*m_pressed);
}

void ImageSheet::mouseReleaseEvent(QMouseEvent* event) {
    const auto pressed = std::exchange(m_pressed, std::nullopt);
    if (!pressed || event->button() != Qt::LeftButton)
        return;
    updateRow(*pressed);
    if (buttonAt(event->position().toPoint()) == pressed && canSave(*pressed))
        emit saveRequested(*pressed);
}

void ImageSheet::mouseMoveEvent(QMouseEvent* event) {
    const auto hovered = buttonAt(event->position().toPoint());
    if (hovered == m_hovered)
        return;
    if (m_hovered)
        updateRow(*m_hovered);
    m_hovered = hovered;
    if (m_hovered)
        updateRow(*m_hovered);
}

bool ImageSheet::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave) {
        if (const auto hovered = std::exchange(m_hovered, std::nullopt))
            updateRow(*hovered);
    }
    return QAbstractScrollArea::viewportEvent(event);
}

} // namespace orvu
