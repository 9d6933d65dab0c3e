#pragma once

#include "harvest/window_design.h"
#include "platform/windows_api.h"
#include "win32/gdi_objects.h"
#include "win32/screen_scale.h"

#include <cstdint>
#include <string_view>

namespace orvu::win32 {

// The program's skin, drawn with GDI+ (smooth edges and gradients) on any
// device context: push buttons, option buttons, the title buttons and the
// title band, in the colours of the Linux window's skin.

// GDI+ for the life of the program.
class SkinSession {
public:
    SkinSession();
    ~SkinSession();
    SkinSession(const SkinSession&) = delete;
    SkinSession& operator=(const SkinSession&) = delete;

private:
    ULONG_PTR m_token = 0;
};

enum class ButtonLook { Normal, Hover, Pressed, Disabled };
ButtonLook buttonLook(bool enabled, bool down, bool hovered);

enum class TitleGlyph { Close, Minimise, Help };

// A design colour (a system colour or 0x00BBGGRR) as Windows paints it.
COLORREF designColour(std::uint32_t colour);

// The windows' face: SimSun, 9 points at 96 dots an inch (12 pixels), where
// it exists, otherwise a CJK face of the same metrics, scaled.
Font designFont(const ScreenScale& scale);

// A push button's size for its caption in the font selected into `dc`: at
// least that of a standard dialog button (75 x 23 at 96 dots an inch).
SIZE pushButtonSize(HDC dc, std::wstring_view caption, const ScreenScale& scale);

void paintPushButton(HDC dc, const RECT& rect, std::wstring_view caption, HFONT font,
                     ButtonLook look, bool focused, const ScreenScale& scale);
void paintOptionButton(HDC dc, const RECT& rect, std::wstring_view caption, HFONT font,
                       ButtonLook look, bool checked, bool focused, COLORREF back,
                       const ScreenScale& scale);
void paintTitleButton(HDC dc, const RECT& rect, TitleGlyph glyph, ButtonLook look,
                      const ScreenScale& scale);
// The title band: an outline inside `band`, no fill.
void paintTitleBand(HDC dc, const RECT& band, const ScreenScale& scale);
// A frame line, centred on its coordinates, in the window-text colour.
void paintFrameLine(HDC dc, const design::Line& line, const ScreenScale& scale);

} // namespace orvu::win32
