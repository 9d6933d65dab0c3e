#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>

class QPainter;
class QPalette;

// The main window as designed, in pixels: the design gives twips, and every
// value of it divides by 15.
namespace orvu::mainWindowLayout {

inline constexpr QSize ClientSize{425, 362};
inline constexpr QPoint StartPosition{178, 71}; // of the client area on the screen
inline constexpr std::uint32_t BackColour = 0x00FF8080;

// The controls, in the order the window holds them:    left  top width height
inline constexpr QRect HelpButton{336, 8, 21, 21};
inline constexpr QRect MinimiseButton{360, 8, 21, 21};
inline constexpr QRect CloseButton{384, 8, 21, 21};
inline constexpr QRect PreviewBox{144, 96, 33, 33};
inline constexpr QRect FolderModeOption{40, 72, 97, 17};
inline constexpr QRect FileModeOption{40, 48, 97, 17};
inline constexpr QRect StartButton{280, 104, 89, 25};
inline constexpr QRect PickFolderButton{344, 72, 25, 17};
inline constexpr QRect FolderPathBox{144, 72, 193, 18};
inline constexpr QRect PickFileButton{344, 48, 25, 17};
inline constexpr QRect FilePathBox{144, 48, 193, 18};
inline constexpr QRect IconList{8, 144, 409, 193};
// Labels give their top-left corner and take the size of their text; the
// status line spans the rest of its row, as it shows paths of any length.
inline constexpr QPoint TitleLabel{16, 16};
inline constexpr QPoint PreviewCaption{56, 112};
inline constexpr QPoint StatusLine{24, 344};

// Painted on the window's surface, under the controls.
inline constexpr QRect TitleBand{8, 8, 409, 25};    // a 3-pixel outline inside it
inline constexpr QRect SourcePanel{8, 40, 409, 97}; // filled, a 1-pixel outline
struct FrameLine {
    QPoint from;
    QPoint to;
    int width;
};
// Centred on their coordinates, running past the client area, clipped by it.
inline constexpr FrameLine FrameLines[] = {
    {{0, 0}, {440, 0}, 4},     // top
    {{0, 0}, {0, 360}, 3},     // left
    {{424, 0}, {424, 384}, 3}, // right
    {{0, 360}, {432, 360}, 3}, // bottom
};

// The source panel, the title band and the frame lines.
void paintFrame(QPainter& painter, const QPalette& palette);

} // namespace orvu::mainWindowLayout
