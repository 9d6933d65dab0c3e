#pragma once

#include "harvest/window_design.h"

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace orvu {

namespace SystemColour = design::SystemColour;
using design::PanelColour;

// A design's colour (harvest/window_design.h): a system colour from the
// palette, a literal one as it is.
QColor designColour(std::uint32_t value, const QPalette& palette);
// A literal colour 0x00BBGGRR.
QColor literalColour(std::uint32_t value);

} // namespace orvu
