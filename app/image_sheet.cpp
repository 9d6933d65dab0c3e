#include "app/image_sheet.h"

#include "controls/push_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <utility>

namespace orvu {
namespace {

constexpr int Margin = 9;
constexpr int ColumnGap = 12;
constexpr int RowGap = 10;
constexpr int ButtonGap = 4; // between the text lines and the button
constexpr int MaxShownSide = 256;

} // namespace

ImageSheet::ImageSheet(const std::vector<ImageDescription>& images, std::vector<QString> labels,
                       QString saveCaption, QWidget* parent)
    : QAbstractScrollArea(parent), m_saveCaption(std::move(saveCaption)) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    m_button = pushButtonSize(fontMetrics(), m_saveCaption);
    m_lineHeight = fontMetrics().height();
    // One pass over the images: each row's room and place, and the widest
    // picture's column, before the texts.
    m_rows.reserve(images.size());
    int pictureColumn = 0;
    int top = Margin;
    for (std::size_t i = 0; i < images.size(); ++i) {
        Row row;
        row.room = QSize(std::clamp(images[i].width, 1, MaxShownSide),
                         std::clamp(images[i].height, 1, MaxShownSide));
        row.label = i < labels.size() ? std::move(labels[i]) : QString();
        row.top = top;
        top += rowHeight(row) + RowGap;
        pictureColumn = std::max(pictureColumn, row.room.width());
        m_rows.push_back(std::move(row));
    }
    m_textLeft = Margin + pictureColumn + ColumnGap;
    m_height = top - RowGap + Margin;
    updateScrollBar();
}

int ImageSheet::rowHeight(const Row& row) const {
    return std::max(row.room.height(), 2 * m_lineHeight + ButtonGap + m_button.height());
}

QString ImageSheet::label(std::size_t i) const {
    const Row& row = m_rows.at(i);
    return row.failure.isEmpty() ? row.label : row.label + u'\n' + row.failure;
}

void ImageSheet::setPicture(std::size_t i, const QPixmap& picture) {
    Row& row = m_rows.at(i);
    // A picture larger than its directory entry said keeps to the room laid
    // out for it.
    const bool fits = picture.width() <= row.room.width() && picture.height() <= row.room.height();
    row.picture =
        fits ? picture : picture.scaled(row.room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    updateRow(i);
}

void ImageSheet::setFailure(std::size_t i, const QString& reason) {
    m_rows.at(i).failure = reason;
    updateRow(i);
}

QRect ImageSheet::saveButtonRect(std::size_t i) const {
    const int top = m_rows.at(i).top - verticalScrollBar()->value();
    return QRect(QPoint(m_textLeft, top + 2 * m_lineHeight + ButtonGap), m_button);
}

void ImageSheet::scrollTo(std::size_t i) {
    verticalScrollBar()->setValue(m_rows.at(i).top - Margin);
}

void ImageSheet::updateRow(std::size_t i) {
    const int top = m_rows[i].top - verticalScrollBar()->value();
    const QRect area(0, top, viewport()->width(), rowHeight(m_rows[i]));
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
    updateScrollBar();
}

std::optional<std::size_t> ImageSheet::buttonAt(QPoint point) const {
    const int y = point.y() + verticalScrollBar()->value();
    // The last row that starts above the point.
    const auto after = std::partition_point(m_rows.begin(), m_rows.end(),
                                            [y](const Row& row) { return row.top <= y; });
    if (after == m_rows.begin())
        return std::nullopt;
    const auto i = static_cast<std::size_t>(after - m_rows.begin() - 1);
    if (!saveButtonRect(i).contains(point))
        return std::nullopt;
    return i;
}

void ImageSheet::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    painter.fillRect(area, palette().color(QPalette::Window));
    const int offset = verticalScrollBar()->value();
    // Only the rows in view: the first whose bottom reaches the area, on.
    auto row = std::partition_point(m_rows.begin(), m_rows.end(), [&](const Row& r) {
        return r.top + rowHeight(r) - offset < area.top();
    });
    for (; row != m_rows.end() && row->top - offset <= area.bottom(); ++row) {
        const auto i = static_cast<std::size_t>(row - m_rows.begin());
        const int top = row->top - offset;
        if (!row->picture.isNull())
            painter.drawPixmap(Margin, top, row->picture);
        painter.setPen(palette().color(QPalette::WindowText));
        const int textWidth = viewport()->width() - m_textLeft;
        painter.drawText(QRect(m_textLeft, top, textWidth, m_lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, row->label);
        painter.drawText(QRect(m_textLeft, top + m_lineHeight, textWidth, m_lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, row->failure);
        const bool hovered = m_hovered == i;
        paintPushButton(painter, saveButtonRect(i), m_saveCaption,
                        buttonLook(canSave(i), hovered && m_pressed == i, hovered), false);
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
