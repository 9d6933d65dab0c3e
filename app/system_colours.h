#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace orvu {

// Colours as the window designs give them: 0x80000000 + n names system colour
// n, taken here from the palette; any other value is a literal 0x00BBGGRR.
namespace SystemColour {
inline constexpr std::uint32_t WindowBackground = 0x80000005;
inline constexpr std::uint32_t WindowText = 0x80000008;
inline constexpr std::uint32_t ActiveTitleText = 0x80000009;
inline constexpr std::uint32_t ActiveBorder = 0x8000000A;
inline constexpr std::uint32_t HighlightText = 0x8000000E;
} // namespace SystemColour

QColor designColour(std::uint32_t value, const QPalette& palette);

} // namespace orvu
