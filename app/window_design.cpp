#include "app/window_design.h"

#include "qt/qt_text.h"

#include <QLabel>
#include <QPainter>

namespace orvu {

QString productTitle() {
    return qtText("Orvu Icon Extractor D2002.10.27");
}

QString saveDialogTitle() {
    return qtText("Save File As:...");
}

FileFilter saveFilterOf(SaveFormat format) {
    switch (format) {
    case SaveFormat::Ico:
        return {qtText("Icon file"), QStringLiteral("*.ico")};
    case SaveFormat::Png:
        return {qtText("PNG image"), QStringLiteral("*.png")};
    case SaveFormat::Cur:
        return {qtText("Cursor file"), QStringLiteral("*.cur")};
    case SaveFormat::Ani:
        return {qtText("Animated cursor file"), QStringLiteral("*.ani")};
    case SaveFormat::Bmp:
        break;
    }
    return {qtText("Bitmap"), QStringLiteral("*.bmp")};
}

QRect twips(int left, int top, int width, int height) {
    return {left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel,
            height / TwipsPerPixel};
}

QPoint twips(int x, int y) {
    return {x / TwipsPerPixel, y / TwipsPerPixel};
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
    painter.setPen(QPen(QColor(232, 238, 255), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(band).adjusted(1.5, 1.5, -1.5, -1.5));
}

} // namespace orvu
