#include "app/main_window_layout.h"

#include "app/system_colours.h"
#include "app/window_design.h"

#include <QPainter>

namespace orvu::mainWindowLayout {

void paintFrame(QPainter& painter, const QPalette& palette) {
    const QColor windowText = designColour(SystemColour::WindowText, palette);
    const QRect panel = toQRect(SourcePanel);
    painter.fillRect(panel, designColour(SourcePanelColour, palette));
    painter.setPen(QPen(windowText, 1));
    painter.drawRect(panel.adjusted(0, 0, -1, -1));
    paintTitleBand(painter, toQRect(TitleBand));
    paintFrameLines(painter, FrameLines, windowText);
}

} // namespace orvu::mainWindowLayout
