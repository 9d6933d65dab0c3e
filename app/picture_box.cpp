#include "app/picture_box.h"

#include <QPainter>

namespace orvu {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setBackColor(const QColor& colour) {
    m_backColor = colour;
    update();
}

void PictureBox::setImage(const QImage& image, qreal pixelRatio) {
    m_image = image;
    m_pixelRatio = pixelRatio;
    update();
}

void PictureBox::refresh() {
    repaint();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_backColor);
    painter.scale(1 / m_pixelRatio, 1 / m_pixelRatio);
    painter.drawImage(QPoint(0, 0), m_image);
}

} // namespace orvu
