#include "app/main_window_layout.h"

#include "app/system_colours.h"
#include "app/window_design.h"

#include <QPainter>

namespace orvu::mainWindowLayout {

void paintFrame(QPainter& painter, const QPalette& palette) {
    const QColor windowText = designColour(SystemColour::WindowText, palette);
    painter.fillRect(SourcePanel, designColour(PanelColour, palette));
    painter.setPen(QPen(windowText, 1));
    painter.drawRect(SourcePanel.adjusted(0, 0, -1, -1));
    paintTitleBand(painter, TitleBand);
    for (const FrameLine& line : FrameLines) {
        painter.setPen(QPen(windowText, line.width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(line.from), QPointF(line.to));
    }
}

} // namespace orvu::mainWindowLayout
