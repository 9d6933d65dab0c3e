#pragma once

#include "harvest/window_design.h"

#include <cstdint>

// The main window as designed: fixed, borderless, at its own place on the
// screen, in pixels (window_design.h).
namespace orvu::mainWindowLayout {

inline constexpr design::Size ClientSize{425, 362};
inline constexpr design::Point StartPosition{178, 71}; // of the client area on the screen
inline constexpr std::uint32_t BackColour = 0x00FF8080;

// The controls, in the order the window holds them:      left  top width height
inline constexpr design::Rect HelpButton{336, 8, 21, 21};
inline constexpr design::Rect MinimiseButton{360, 8, 21, 21};
inline constexpr design::Rect CloseButton{384, 8, 21, 21};
inline constexpr design::Rect PreviewBox{144, 96, 33, 33};
inline constexpr design::Rect FolderModeOption{40, 72, 97, 17};
inline constexpr design::Rect FileModeOption{40, 48, 97, 17};
inline constexpr design::Rect StartButton{280, 104, 89, 25};
inline constexpr design::Rect PickFolderButton{344, 72, 25, 17};
inline constexpr design::Rect FolderPathBox{144, 72, 193, 18};
inline constexpr design::Rect PickFileButton{344, 48, 25, 17};
inline constexpr design::Rect FilePathBox{144, 48, 193, 18};
inline constexpr design::Rect IconList{8, 144, 409, 193};
// Labels give their top-left corner and take the size of their text; the
// status line spans the rest of its row, as it shows paths of any length.
inline constexpr design::Point TitleLabel{16, 16};
inline constexpr design::Point PreviewCaption{56, 112};
inline constexpr design::Point StatusLine{24, 344};

// The colours of the controls.
inline constexpr std::uint32_t OptionBackColour = design::PanelColour;
inline constexpr std::uint32_t PreviewBackColour = design::SystemColour::WindowBackground;
inline constexpr std::uint32_t ChosenPathBoxColour = design::SystemColour::WindowBackground;
inline constexpr std::uint32_t OtherPathBoxColour = design::SystemColour::ActiveBorder;
inline constexpr std::uint32_t ListTextColour = design::SystemColour::WindowText;
inline constexpr std::uint32_t ListBackColour = design::SystemColour::WindowBackground;
inline constexpr std::uint32_t TitleColour = design::SystemColour::HighlightText;
inline constexpr std::uint32_t PreviewCaptionColour = design::SystemColour::WindowText;
inline constexpr std::uint32_t StatusColour = design::SystemColour::HighlightText;

// Painted on the window's surface, under the controls: the title band, and
// the source panel, filled, with a 1-pixel outline in the window-text colour.
inline constexpr design::Rect TitleBand{8, 8, 409, 25};
inline constexpr design::Rect SourcePanel{8, 40, 409, 97};
inline constexpr std::uint32_t SourcePanelColour = design::PanelColour;
inline constexpr design::Line FrameLines[] = {
    {{0, 0}, {440, 0}, 4},     // top
    {{0, 0}, {0, 360}, 3},     // left
    {{424, 0}, {424, 384}, 3}, // right
    {{0, 360}, {432, 360}, 3}, // bottom
};

} // namespace orvu::mainWindowLayout
