#include "controls/help_button.h"

#include <QPainter>
#include <QPainterPath>

namespace orvu {

HelpButton::HelpButton(QWidget* parent) : SkinnedButton(parent) {
    setFocusPolicy(Qt::NoFocus);
}

QSize HelpButton::sizeHint() const {
    return QSize(21, 21);
}

void HelpButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ButtonLook current = look();
    paintTitleFace(painter, rect(), current, TitleTone::Blue);

    // Drawn rather than set in a font, so it looks the same on every system.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(width() / 21.0, height() / 21.0);
    const QColor glyph = skinTitleGlyphColour(current);
    QPainterPath hook;
    hook.moveTo(7, 8);
    hook.cubicTo(7, 4.5, 14, 4.5, 14, 8);
    hook.cubicTo(14, 10.5, 10.5, 10.5, 10.5, 13);
    painter.setPen(QPen(glyph, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(hook);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glyph);
    painter.drawEllipse(QPointF(10.5, 16), 1.4, 1.4);
}

} // namespace orvu
