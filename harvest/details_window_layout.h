#pragma once

#include "harvest/window_design.h"

#include <cstdint>

// The details window of one icon: borderless, in the program's style, its
// width fixed and its height as its images need, as far as the screen has
// room; in pixels (window_design.h). Placements that depend on the height
// count from the bottom.
namespace orvu::detailsWindowLayout {

inline constexpr design::Size LeastSize{760, 420};
inline constexpr int Margin = 16; // around the texts, the images and the button

// The title row: its band (as wide as the window less 16), which also moves
// the window, the title and the close button.
inline constexpr int TitleBandHeight = 29;
inline constexpr design::Rect TitleBand{8, 8, LeastSize.width - 16, TitleBandHeight - 4};
inline constexpr int DragBandHeight = TitleBandHeight + 8; // a press above this moves the window
inline constexpr design::Point TitleLabel{16, 16};
inline constexpr design::Rect CloseButton{LeastSize.width - 29, 8, 21, 21};
inline constexpr std::uint32_t TitleColour = design::SystemColour::HighlightText;

// Below the band: the heading and the file's path, each a line of this
// height, the text as wide as the window less the margins (and less the
// player and a margin where an animation plays).
inline constexpr int TextLineHeight = 18;
inline constexpr int HeadingTop = TitleBandHeight + 16;
inline constexpr int PathTop = TitleBandHeight + 36;
inline constexpr int TextWidth = LeastSize.width - 2 * Margin;

// An animated cursor plays at the top right at twice its size, its
// hotspot's text on the line below the path.
inline constexpr int PlayerZoom = 2;
inline constexpr int PlayerSide = 32 * PlayerZoom;
inline constexpr design::Rect Player{LeastSize.width - Margin - PlayerSide, TitleBandHeight + 12,
                                     PlayerSide, PlayerSide};
inline constexpr int PlayerHotspotTop = TitleBandHeight + 56;

// The images start below the texts (below the player where one plays) and
// end 48 pixels above the bottom; the button that saves the whole icon sits
// at the bottom right, a margin in.
inline constexpr int ImagesTop = TitleBandHeight + 60;
inline constexpr int ImagesTopWithPlayer = TitleBandHeight + 60 + PlayerSide - 24;
inline constexpr int ImagesBottomGap = 48;
inline constexpr std::uint32_t ImagesBackColour = design::PanelColour;

// Each image on a light checkerboard of squares this many pixels a side.
inline constexpr int CheckerSquare = 8;
inline constexpr std::uint32_t CheckerLight = 0x00FFFFFF;
inline constexpr std::uint32_t CheckerDark = 0x00DCDCDC;

} // namespace orvu::detailsWindowLayout
