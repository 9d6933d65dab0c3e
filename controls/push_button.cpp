#include "controls/push_button.h"

#include <QPainter>
#include <algorithm>

namespace orvu {

PushButton::PushButton(QWidget* parent) : SkinnedButton(parent) {}

PushButton::PushButton(const QString& caption, QWidget* parent) : SkinnedButton(parent) {
    setText(caption);
}

QSize pushButtonSize(const QFontMetrics& metrics, const QString& caption) {
    // At least the 75 x 23 of a standard dialog button.
    return QSize(std::max(75, metrics.horizontalAdvance(caption) + 16),
                 std::max(23, metrics.height() + 8));
}

void paintPushButton(QPainter& painter, const QRect& rect, const QString& caption, ButtonLook look,
                     bool focused) {
    paintCommandFace(painter, rect, look, focused);
    QRect captionArea = rect;
    if (look == ButtonLook::Pressed)
        captionArea.translate(1, 1);
    painter.setPen(skinCaptionColour(look));
    painter.drawText(captionArea, Qt::AlignCenter | Qt::TextShowMnemonic, caption);
}

QSize PushButton::sizeHint() const {
    return pushButtonSize(fontMetrics(), text());
}

QSize PushButton::minimumSizeHint() const {
    return QSize(fontMetrics().horizontalAdvance(text()) + 6, fontMetrics().height() + 2);
}

void PushButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintPushButton(painter, rect(), text(), look(), hasFocus());
}

} // namespace orvu
