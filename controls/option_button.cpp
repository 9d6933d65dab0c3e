#include "controls/option_button.h"

#include <QPainter>
#include <algorithm>

namespace orvu {

OptionButton::OptionButton(QWidget* parent) : SkinnedButton(parent) {
    // Qt's auto-exclusive buttons exclude every descendant of the parent;
    // the group here is the direct siblings only.
    setCheckable(true);
    connect(this, &QAbstractButton::toggled, this, [this](bool checked) {
        if (checked)
            clearSiblings();
    });
}

OptionButton::OptionButton(const QString& caption, QWidget* parent) : OptionButton(parent) {
    setText(caption);
}

void OptionButton::nextCheckState() {
    setChecked(true);
}

void OptionButton::clearSiblings() {
    if (!parentWidget())
        return;
    const QList<OptionButton*> siblings =
        parentWidget()->findChildren<OptionButton*>(Qt::FindDirectChildrenOnly);
    for (OptionButton* sibling : siblings) {
        if (sibling != this)
            sibling->setChecked(false);
    }
}

QColor OptionButton::backColor() const {
    return m_backColor.isValid() ? m_backColor : palette().color(QPalette::Window);
}

void OptionButton::setBackColor(const QColor& colour) {
    m_backColor = colour;
    update();
}

QSize OptionButton::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return QSize(OptionMarkSize + CaptionGap + metrics.horizontalAdvance(text()) + 4,
                 std::max(OptionMarkSize + 4, metrics.height() + 2));
}

QSize OptionButton::minimumSizeHint() const {
    return sizeHint();
}

void OptionButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), backColor());

    const ButtonLook current = look();
    const int markTop = (height() - OptionMarkSize) / 2;
    paintOptionMark(painter, QPointF(0, markTop), current, isChecked());

    // The gap after the mark gives way before the caption would be cut.
    const int advance = QFontMetrics(font()).horizontalAdvance(text());
    const int gap = std::clamp(width() - OptionMarkSize - advance, 1, CaptionGap);
    const QRect captionArea(OptionMarkSize + gap, 0, width() - OptionMarkSize - gap, height());
    painter.setPen(skinCaptionColour(current));
    painter.drawText(captionArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, text());

    if (hasFocus()) {
        const QRect textBounds = painter.boundingRect(
            captionArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, text());
        painter.setPen(QPen(skinCaptionColour(current), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(
            textBounds.adjusted(-1, 0, 1, -1).intersected(rect().adjusted(0, 0, -1, -1)));
    }
}

} // namespace orvu
