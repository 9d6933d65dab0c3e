#pragma once

#include "export/save_format.h"
#include "qt/dialogs.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>

class QLabel;
class QPainter;
class QWidget;

namespace orvu {

// What the two windows' designs share: their unit, the product title, their
// labels and the title band.

inline constexpr int TwipsPerPixel = 15;
QRect twips(int left, int top, int width, int height);
QPoint twips(int x, int y);

QString productTitle();

// The colour of the main window's source panel, which the details window
// shares.
inline constexpr std::uint32_t PanelColour = 0x00FFE1D0;

// The title of every dialog that saves an icon, and the type it offers for
// each format.
QString saveDialogTitle();
FileFilter saveFilterOf(SaveFormat format);

// A label painted on the window's surface: transparent, plain text, sized
// to its text, in the given colour.
QLabel* designLabel(QWidget* parent, const char* name, const QString& text, QPoint at,
                    const QColor& colour);

// The title band: a 3-pixel outline inside its bounds, no fill.
void paintTitleBand(QPainter& painter, const QRect& band);

} // namespace orvu
