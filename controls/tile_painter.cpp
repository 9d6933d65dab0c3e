#include "controls/tile_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

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

TilePainter::TilePainter(QFont font, QPalette palette, QSize pictureSize)
    : m_font(std::move(font)), m_palette(std::move(palette)), m_pictureSize(pictureSize) {}

QSize TilePainter::tileSize() const {
    const int captionHeight = QFontMetrics(m_font).height() + 2;
    return QSize(std::max(MinimumTileWidth, m_pictureSize.width() + 4 * CaptionInset),
                 PictureTop + m_pictureSize.height() + CaptionGap + captionHeight + TileBottom);
}

QRect TilePainter::pictureRect(const QRect& tile) const {
    return QRect(
        QPoint(tile.left() + (tile.width() - m_pictureSize.width()) / 2, tile.top() + PictureTop),
        m_pictureSize);
}

QRect TilePainter::captionRect(const QRect& tile) const {
    const int top = pictureRect(tile).bottom() + 1 + CaptionGap;
    return QRect(tile.left() + CaptionInset, top, tile.width() - 2 * CaptionInset,
                 QFontMetrics(m_font).height() + 2);
}

void TilePainter::paint(QPainter& painter, const QRect& tile, const QImage& picture,
                        const QString& caption, State state) const {
    const QPalette::ColorGroup group = state.focused ? QPalette::Active : QPalette::Inactive;
    const QColor highlight = m_palette.color(group, QPalette::Highlight);
    if (!picture.isNull())
        painter.drawImage(pictureRect(tile),
                          state.selected ? highlighted(picture, highlight) : picture);

    const QFontMetrics metrics(m_font);
    const QRect area = captionRect(tile);
    const QString text = metrics.elidedText(caption, Qt::ElideRight, area.width() - 4);
    const int textWidth = std::min(area.width(), metrics.horizontalAdvance(text) + 4);
    const QRect label(area.left() + (area.width() - textWidth) / 2, area.top(), textWidth,
                      area.height());
    if (state.selected)
        painter.fillRect(label, highlight);
    painter.setFont(m_font);
    painter.setPen(
        m_palette.color(group, state.selected ? QPalette::HighlightedText : QPalette::Text));
    painter.drawText(label, Qt::AlignCenter | Qt::TextSingleLine, text);

    if (state.focused && state.current) {
        painter.setPen(QPen(m_palette.color(group, QPalette::Text), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(label.adjusted(0, 0, -1, -1));
    }
}

} // namespace orvu
