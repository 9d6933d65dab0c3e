#pragma once

#include "harvest/window_design.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <span>

class QLabel;
class QPainter;
class QWidget;

namespace orvu {

// The designs' placements (harvest/window_design.h) as Qt's.
constexpr QRect toQRect(design::Rect r) {
    return {r.left, r.top, r.width, r.height};
}
constexpr QPoint toQPoint(design::Point p) {
    return {p.x, p.y};
}
constexpr QSize toQSize(design::Size s) {
    return {s.width, s.height};
}

QString productTitle();

// A label painted on the window's surface: transparent, plain text, sized
// to its text, in the given colour.
QLabel* designLabel(QWidget* parent, const char* name, const QString& text, QPoint at,
                    const QColor& colour);

// The title band: its outline inside its bounds, no fill.
void paintTitleBand(QPainter& painter, const QRect& band);
// Frame lines, each centred on its coordinates, in `colour`.
void paintFrameLines(QPainter& painter, std::span<const design::Line> lines, const QColor& colour);

} // namespace orvu
