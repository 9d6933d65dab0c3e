#include "app/window_design.h"

#include "app/system_colours.h"

#include <QLabel>
#include <QPainter>

namespace orvu {

QString productTitle() {
    return QString::fromUtf8(design::productTitle());
}

QLabel* designLabel(QWidget* parent, const char* name, const QString& text, QPoint at,
                    const QColor& colour) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAutoFillBackground(false);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->move(at);
    label->adjustSize();
    return label;
}

void paintTitleBand(QPainter& painter, const QRect& band) {
    constexpr qreal Half = design::TitleBandOutline / 2.0;
    painter.setPen(QPen(literalColour(design::TitleBandColour), design::TitleBandOutline,
                        Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(band).adjusted(Half, Half, -Half, -Half));
}

void paintFrameLines(QPainter& painter, std::span<const design::Line> lines, const QColor& colour) {
    for (const design::Line& line : lines) {
        painter.setPen(QPen(colour, line.width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(toQPoint(line.from)), QPointF(toQPoint(line.to)));
    }
}

} // namespace orvu
