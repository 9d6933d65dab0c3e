#include "app/system_colours.h"

namespace orvu {

QColor literalColour(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

QColor designColour(std::uint32_t value, const QPalette& palette) {
    switch (value) {
    case SystemColour::WindowBackground:
        return palette.color(QPalette::Active, QPalette::Base);
    case SystemColour::WindowText:
        return palette.color(QPalette::Active, QPalette::WindowText);
    case SystemColour::ActiveTitleText:
    case SystemColour::HighlightText:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    case SystemColour::ActiveBorder:
        return literalColour(design::ActiveBorderGrey);
    default:
        break;
    }
    if (design::isSystemColour(value))
        return palette.color(QPalette::Active, QPalette::Window);
    return literalColour(value);
}

} // namespace orvu
