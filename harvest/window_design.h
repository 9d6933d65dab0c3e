#pragma once

#include <cstdint>

// What the windows' designs share, without a toolkit: the units and shapes
// their placement tables are written in, their colours and the product
// title. Every front end places its controls from the same tables
// (main_window_layout.h, about_window_layout.h, details_window_layout.h)
// and converts them to its own types.
namespace orvu::design {

// Placements are in pixels at 96 dots an inch. The designs give twips, 15 to
// such a pixel, and every value of theirs divides by 15.
inline constexpr int TwipsPerPixel = 15;

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A frame line, centred on its coordinates, `width` pixels wide, in the
// window-text colour. Lines may run past the client area, which clips them.
struct Line {
    Point from;
    Point to;
    int width = 1;
};

// Colours as the designs give them: 0x80000000 + n names the platform's
// system colour n, any other value is a literal colour 0x00BBGGRR.
namespace SystemColour {
inline constexpr std::uint32_t WindowBackground = 0x80000005;
inline constexpr std::uint32_t WindowText = 0x80000008;
inline constexpr std::uint32_t ActiveTitleText = 0x80000009;
inline constexpr std::uint32_t ActiveBorder = 0x8000000A;
inline constexpr std::uint32_t HighlightText = 0x8000000E;
} // namespace SystemColour

inline constexpr bool isSystemColour(std::uint32_t colour) {
    return (colour & 0x80000000u) != 0;
}

// Windows' classic "active border" grey, for a platform that has no such
// system colour.
inline constexpr std::uint32_t ActiveBorderGrey = 0x00C8D0D4;

// The light panel behind the main window's source controls, the option
// buttons' face, and the details window's images.
inline constexpr std::uint32_t PanelColour = 0x00FFE1D0;

// The title band of every window: an outline this wide inside its bounds,
// in this colour, no fill.
inline constexpr int TitleBandOutline = 3;
inline constexpr std::uint32_t TitleBandColour = 0x00FFEEE8;

// The product title, in the language in use (UTF-8): the main window's and
// the about window's title, the tray icon's tip, the program's name.
const char* productTitle();

} // namespace orvu::design
