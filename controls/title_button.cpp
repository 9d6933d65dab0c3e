#include "controls/title_button.h"

#include <QPainter>

namespace orvu {

TitleButton::TitleButton(QWidget* parent) : TitleButton(Kind::Close, parent) {}

TitleButton::TitleButton(Kind kind, QWidget* parent) : SkinnedButton(parent), m_kind(kind) {
    setFocusPolicy(Qt::NoFocus);
}

void TitleButton::setKind(Kind kind) {
    m_kind = kind;
    update();
}

QSize TitleButton::sizeHint() const {
    return QSize(21, 21);
}

void TitleButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ButtonLook current = look();
    paintTitleFace(painter, rect(), current,
                   m_kind == Kind::Close ? TitleTone::Red : TitleTone::Blue);

    // The glyph is laid out on the 21-pixel grid and scaled with the button.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(width() / 21.0, height() / 21.0);
    const QColor glyph = skinTitleGlyphColour(current);
    if (m_kind == Kind::Close) {
        painter.setPen(QPen(glyph, 2.2, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(QPointF(6.5, 6.5), QPointF(14.5, 14.5));
        painter.drawLine(QPointF(14.5, 6.5), QPointF(6.5, 14.5));
    } else {
        painter.fillRect(QRectF(5, 13, 7, 3), glyph);
    }
}

} // namespace orvu
