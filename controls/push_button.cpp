#include "controls/push_button.h"

#include <QPainter>
#include <algorithm>

namespace orvu {

PushButton::PushButton(QWidget* parent) : SkinnedButton(parent) {}

PushButton::PushButton(const QString& caption, QWidget* parent) : SkinnedButton(parent) {
    setText(caption);
}

QSize PushButton::sizeHint() const {
    // At least the 75 x 23 of a standard dialog button.
    const QFontMetrics metrics = fontMetrics();
    return QSize(std::max(75, metrics.horizontalAdvance(text()) + 16),
                 std::max(23, metrics.height() + 8));
}

QSize PushButton::minimumSizeHint() const {
    return QSize(fontMetrics().horizontalAdvance(text()) + 6, fontMetrics().height() + 2);
}

void PushButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ButtonLook current = look();
    paintCommandFace(painter, rect(), current, hasFocus());

    QRect captionArea = rect();
    if (current == ButtonLook::Pressed)
        captionArea.translate(1, 1);
    painter.setPen(skinCaptionColour(current));
    painter.drawText(captionArea, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

} // namespace orvu
