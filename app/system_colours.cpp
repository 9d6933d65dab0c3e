#include "app/system_colours.h"

namespace orvu {
namespace {

// Windows' classic "active border" grey, where the palette has no such role.
constexpr QRgb ActiveBorderGrey = 0xFFD4D0C8;

} // namespace

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
        return QColor::fromRgb(ActiveBorderGrey);
    default:
        break;
    }
    if (value & 0x80000000u)
        return palette.color(QPalette::Active, QPalette::Window);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

} // namespace orvu
