#pragma once

#include "harvest/main_window_layout.h"

class QPainter;
class QPalette;

namespace orvu::mainWindowLayout {

// The source panel, the title band and the frame lines.
void paintFrame(QPainter& painter, const QPalette& palette);

} // namespace orvu::mainWindowLayout
