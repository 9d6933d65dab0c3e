#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>

class QPainter;

namespace orvu {

// The state a skinned button is drawn in.
enum class ButtonLook { Normal, Hover, Pressed, Disabled };

ButtonLook buttonLook(bool enabled, bool down, bool hovered);

// The colour of title-bar button faces: blue for minimise and help, red for close.
enum class TitleTone { Blue, Red };

// The windows' and controls' face: SimSun 9 pt (12 pixels) where it exists,
// otherwise a monospaced CJK face of the same metrics: 12-pixel ideographs
// and 6-pixel Latin, so that labels sized to their text have the widths of
// the design.
QFont designFont();

// Caption text colour of push and option buttons.
QColor skinCaptionColour(ButtonLook look);

// A rounded push-button face with its border, filling `rect`. `focused`
// adds the blue inner rim that marks the keyboard focus.
void paintCommandFace(QPainter& painter, const QRectF& rect, ButtonLook look, bool focused);

// The round option mark (13 x 13 pixels at `topLeft`), with its dot when checked.
inline constexpr int OptionMarkSize = 13;
void paintOptionMark(QPainter& painter, const QPointF& topLeft, ButtonLook look, bool checked);

// A title-bar button face filling `rect`; the glyph is drawn by the caller
// in skinTitleGlyphColour().
void paintTitleFace(QPainter& painter, const QRectF& rect, ButtonLook look, TitleTone tone);
QColor skinTitleGlyphColour(ButtonLook look);

} // namespace orvu
