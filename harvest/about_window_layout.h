#pragma once

#include "harvest/window_design.h"

#include <cstdint>

// The about window as designed: fixed, borderless, always at the same place
// on the screen wherever the main window is, in pixels (window_design.h).
// Its background is the main window's picture.
namespace orvu::aboutWindowLayout {

inline constexpr design::Size ClientSize{338, 194};
inline constexpr design::Point StartPosition{229, 150};

inline constexpr design::Rect CloseButton{296, 8, 21, 21};
inline constexpr design::Rect Picture{16, 48, 100, 130}; // shown unscaled from its top-left
// Labels give their top-left corner and take the size of their text; the
// web-site line keeps the design's width whatever its text.
inline constexpr design::Point TitleLabel{16, 16};
inline constexpr design::Point AuthorLine{136, 64};
inline constexpr design::Point MessengerLine{136, 96};
inline constexpr design::Point MailLine{136, 128};
inline constexpr design::Point WebLine{136, 168};
inline constexpr int WebLineWidth = 174;

inline constexpr std::uint32_t TitleColour = design::SystemColour::HighlightText;
inline constexpr std::uint32_t LineColour = design::SystemColour::WindowText;

// Painted on the window's surface: the title band, and 1-pixel frame lines
// (the right one runs past the bottom and is clipped there).
inline constexpr design::Rect TitleBand{8, 8, 321, 25};
inline constexpr design::Line FrameLines[] = {
    {{0, 0}, {336, 0}, 1},     // top
    {{0, 0}, {0, 192}, 1},     // left
    {{336, 192}, {0, 192}, 1}, // bottom
    {{336, 0}, {336, 216}, 1}, // right
};

} // namespace orvu::aboutWindowLayout
