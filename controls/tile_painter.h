#pragma once

#include <QFont>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace orvu {

// How one tile of the large-icon list looks: its picture centred at the top,
// its caption centred below it and cut short with "…" where it is wider than
// the tile. A selected tile shows its picture veiled in the highlight colour
// and its caption on the highlight; the current tile of a focused list has a
// dotted frame round its caption. Everything it draws with comes in, so it
// paints on any surface (a test paints on a QImage).
class TilePainter {
public:
    static constexpr int MinimumTileWidth = 75;

    struct State {
        bool selected = false;
        bool current = false;
        bool focused = false; // the list has the keyboard focus
    };

    TilePainter(QFont font, QPalette palette, QSize pictureSize);

    // Every tile has this size.
    QSize tileSize() const;
    QRect pictureRect(const QRect& tile) const;

    // A null picture draws the caption alone.
    void paint(QPainter& painter, const QRect& tile, const QImage& picture, const QString& caption,
               State state) const;

private:
    QRect captionRect(const QRect& tile) const;

    QFont m_font;
    QPalette m_palette;
    QSize m_pictureSize;
};

} // namespace orvu
