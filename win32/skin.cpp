#include "win32/skin.h"

#include <algorithm>
#include <array>
#include <memory>
// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
// clang-format off
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

namespace orvu::win32 {
namespace {

using Gdiplus::Color;
using Gdiplus::PointF;
using Gdiplus::REAL;
using Gdiplus::RectF;

Color rgb(BYTE r, BYTE g, BYTE b) {
    return Color(255, r, g, b);
}

const Color CommandBorder = rgb(0, 60, 116);
const Color DisabledBorder = rgb(201, 199, 186);
const Color FaceTop = rgb(255, 255, 255);
const Color FaceBottom = rgb(236, 235, 230);
const Color FaceShade = rgb(214, 208, 197);
const Color PressedTop = rgb(226, 225, 218);
const Color PressedBottom = rgb(240, 239, 234);
const Color DisabledFace = rgb(245, 244, 234);
const Color HoverRimTop = rgb(255, 240, 207);
const Color HoverRimBottom = rgb(248, 179, 48);
const Color FocusRimTop = rgb(206, 231, 255);
const Color FocusRimBottom = rgb(105, 130, 238);
constexpr COLORREF CaptionText = RGB(0, 0, 0);
constexpr COLORREF DisabledText = RGB(172, 168, 153);

const Color MarkBorder = rgb(28, 81, 128);
const Color MarkFaceDark = rgb(220, 220, 215);
const Color MarkFaceLight = rgb(255, 255, 255);
const Color MarkPressed = rgb(176, 176, 167);
const Color DotLight = rgb(85, 213, 81);
const Color DotDark = rgb(33, 161, 33);
const Color DisabledDot = rgb(202, 200, 187);

constexpr int OptionMarkSize = 13;
constexpr int OptionCaptionGap = 4;

struct Gradient {
    Color top;
    Color bottom;
};

Gradient titleColours(ButtonLook look, TitleGlyph glyph) {
    if (glyph == TitleGlyph::Close) {
        switch (look) {
        case ButtonLook::Hover:
            return {rgb(245, 160, 136), rgb(216, 90, 56)};
        case ButtonLook::Pressed:
            return {rgb(168, 50, 26), rgb(213, 90, 58)};
        case ButtonLook::Disabled:
            return {rgb(230, 180, 166), rgb(222, 166, 150)};
        case ButtonLook::Normal:
            break;
        }
        return {rgb(230, 125, 95), rgb(195, 64, 31)};
    }
    switch (look) {
    case ButtonLook::Hover:
        return {rgb(127, 174, 255), rgb(58, 109, 240)};
    case ButtonLook::Pressed:
        return {rgb(27, 71, 184), rgb(62, 110, 224)};
    case ButtonLook::Disabled:
        return {rgb(170, 190, 232), rgb(157, 181, 230)};
    case ButtonLook::Normal:
        break;
    }
    return {rgb(92, 141, 246), rgb(30, 80, 216)};
}

// A Graphics over `area` of a device context that draws with smooth edges
// the same on every GDI+ (Wine's draws none): it draws at four times the
// size, pixel centres at half coordinates as the Linux skin's drawing has
// them, and the average of each 4 x 4 block is blended onto the device
// context when the canvas goes.
class Canvas {
public:
    static constexpr int Samples = 4;

    Canvas(HDC dc, const RECT& area)
        : m_dc(dc), m_area(area), m_width(std::max<LONG>(1, area.right - area.left)),
          m_height(std::max<LONG>(1, area.bottom - area.top)),
          m_large(m_width * Samples, m_height * Samples, PixelFormat32bppARGB),
          m_graphics(&m_large) {
        m_graphics.Clear(Color(0, 0, 0, 0));
        m_graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        m_graphics.ScaleTransform(static_cast<REAL>(Samples), static_cast<REAL>(Samples));
        m_graphics.TranslateTransform(static_cast<REAL>(-area.left), static_cast<REAL>(-area.top));
    }
    ~Canvas() { blend(); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Gdiplus::Graphics* operator->() { return &m_graphics; }

private:
    void blend() {
        m_graphics.Flush(Gdiplus::FlushIntentionSync);
        Gdiplus::BitmapData large{};
        Gdiplus::Rect all(0, 0, m_width * Samples, m_height * Samples);
        if (m_large.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &large) !=
            Gdiplus::Ok)
            return;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = m_width;
        info.bmiHeader.biHeight = -m_height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        Bitmap small(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (small && bits) {
            // Premultiplied averages, as AlphaBlend takes them.
            auto* out = static_cast<std::uint32_t*>(bits);
            const auto* rows = static_cast<const std::uint8_t*>(large.Scan0);
            for (int y = 0; y < m_height; ++y) {
                for (int x = 0; x < m_width; ++x) {
                    std::uint32_t sum[4]{};
                    for (int sy = 0; sy < Samples; ++sy) {
                        const auto* row = reinterpret_cast<const std::uint32_t*>(
                            rows + static_cast<std::ptrdiff_t>(y * Samples + sy) * large.Stride);
                        for (int sx = 0; sx < Samples; ++sx) {
                            const std::uint32_t pixel = row[x * Samples + sx];
                            const std::uint32_t alpha = pixel >> 24;
                            sum[3] += alpha;
                            for (int c = 0; c < 3; ++c)
                                sum[c] += ((pixel >> (8 * c)) & 0xFF) * alpha / 255;
                        }
                    }
                    constexpr std::uint32_t n = Samples * Samples;
                    out[y * m_width + x] = ((sum[3] + n / 2) / n) << 24 |
                                           ((sum[2] + n / 2) / n) << 16 |
                                           ((sum[1] + n / 2) / n) << 8 | ((sum[0] + n / 2) / n);
                }
            }
            MemoryDc source(m_dc);
            const Selected selected(source.get(), small.get());
            const BLENDFUNCTION over{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            AlphaBlend(m_dc, m_area.left, m_area.top, m_width, m_height, source.get(), 0, 0,
                       m_width, m_height, over);
        }
        m_large.UnlockBits(&large);
    }

    HDC m_dc;
    RECT m_area;
    int m_width;
    int m_height;
    Gdiplus::Bitmap m_large;
    Gdiplus::Graphics m_graphics;
};

RectF rectF(const RECT& r) {
    return RectF(static_cast<REAL>(r.left), static_cast<REAL>(r.top),
                 static_cast<REAL>(r.right - r.left), static_cast<REAL>(r.bottom - r.top));
}

RectF inset(const RectF& r, REAL by) {
    return RectF(r.X + by, r.Y + by, r.Width - 2 * by, r.Height - 2 * by);
}

void roundedRect(Gdiplus::GraphicsPath& path, const RectF& r, REAL radius) {
    const REAL d = std::min({radius * 2, r.Width, r.Height});
    if (d <= 0) {
        path.AddRectangle(r);
        return;
    }
    path.AddArc(r.X, r.Y, d, d, 180, 90);
    path.AddArc(r.X + r.Width - d, r.Y, d, d, 270, 90);
    path.AddArc(r.X + r.Width - d, r.Y + r.Height - d, d, d, 0, 90);
    path.AddArc(r.X, r.Y + r.Height - d, d, d, 90, 90);
    path.CloseFigure();
}

// A vertical gradient over `r`, its colours held beyond its ends.
std::unique_ptr<Gdiplus::LinearGradientBrush> vertical(const RectF& r, const Color& top,
                                                       const Color& bottom) {
    auto brush = std::make_unique<Gdiplus::LinearGradientBrush>(
        PointF(r.X, r.Y - 0.5f), PointF(r.X, r.Y + r.Height + 0.5f), top, bottom);
    brush->SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    return brush;
}

void drawCaption(HDC dc, RECT area, std::wstring_view caption, HFONT font, ButtonLook look,
                 UINT format) {
    const Selected selected(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, look == ButtonLook::Disabled ? DisabledText : CaptionText);
    DrawTextW(dc, caption.data(), static_cast<int>(caption.size()), &area,
              format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

} // namespace

SkinSession::SkinSession() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
}

SkinSession::~SkinSession() {
    Gdiplus::GdiplusShutdown(m_token);
}

ButtonLook buttonLook(bool enabled, bool down, bool hovered) {
    if (!enabled)
        return ButtonLook::Disabled;
    if (down)
        return ButtonLook::Pressed;
    return hovered ? ButtonLook::Hover : ButtonLook::Normal;
}

COLORREF designColour(std::uint32_t colour) {
    if (colour == design::SystemColour::ActiveBorder &&
        GetSysColor(COLOR_ACTIVEBORDER) == GetSysColor(COLOR_WINDOW)) {
        // A scheme whose active border is the window's white (Wine's light
        // one) would hide which path box is out of use: the classic grey.
        return designColour(design::ActiveBorderGrey);
    }
    if (design::isSystemColour(colour))
        return GetSysColor(static_cast<int>(colour & 0xFF));
    return static_cast<COLORREF>(colour & 0xFFFFFF);
}

namespace {

int CALLBACK noteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool faceExists(const wchar_t* face) {
    HDC screen = GetDC(nullptr);
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    EnumFontFamiliesExW(screen, &wanted, noteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

} // namespace

Font designFont(const ScreenScale& scale) {
    // SimSun under its Chinese name first, as Chinese Windows lists it; then
    // faces of the same metrics that Wine finds on a Linux system.
    static const wchar_t* const faces[] = {L"\u5B8B\u4F53", L"SimSun", L"NSimSun",
                                           L"WenQuanYi Zen Hei Mono", L"Noto Sans Mono CJK SC"};
    static const wchar_t* const face = [] {
        for (const wchar_t* candidate : faces) {
            if (faceExists(candidate))
                return candidate;
        }
        return L"SimSun";
    }();
    LOGFONTW font{};
    font.lfHeight = -scale.px(12);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return Font(CreateFontIndirectW(&font));
}

SIZE pushButtonSize(HDC dc, std::wstring_view caption, const ScreenScale& scale) {
    SIZE text{};
    GetTextExtentPoint32W(dc, caption.data(), static_cast<int>(caption.size()), &text);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return {std::max<LONG>(scale.px(75), text.cx + scale.px(16)),
            std::max<LONG>(scale.px(23), metrics.tmHeight + scale.px(8))};
}

void paintPushButton(HDC dc, const RECT& rect, std::wstring_view caption, HFONT font,
                     ButtonLook look, bool focused, const ScreenScale& scale) {
    {
        Canvas canvas(dc, rect);
        const RectF outer = inset(rectF(rect), 0.5f);
        const REAL radius = scale.pxf(3);
        Gdiplus::GraphicsPath face;
        roundedRect(face, outer, radius);
        if (look == ButtonLook::Disabled) {
            Gdiplus::SolidBrush brush(DisabledFace);
            canvas->FillPath(&brush, &face);
        } else if (look == ButtonLook::Pressed) {
            const auto brush = vertical(outer, PressedTop, PressedBottom);
            canvas->FillPath(brush.get(), &face);
        } else {
            const auto brush = vertical(outer, FaceTop, FaceShade);
            const std::array<Color, 3> colours{FaceTop, FaceBottom, FaceShade};
            const std::array<REAL, 3> places{0.0f, 0.85f, 1.0f};
            brush->SetInterpolationColors(colours.data(), places.data(), 3);
            canvas->FillPath(brush.get(), &face);
        }
        Gdiplus::Pen border(look == ButtonLook::Disabled ? DisabledBorder : CommandBorder,
                            scale.pxf(1));
        canvas->DrawPath(&border, &face);

        const RectF rim = inset(outer, scale.pxf(1.5f));
        if (look == ButtonLook::Hover || (focused && look == ButtonLook::Normal)) {
            const bool hover = look == ButtonLook::Hover;
            const auto rimBrush = vertical(rim, hover ? HoverRimTop : FocusRimTop,
                                           hover ? HoverRimBottom : FocusRimBottom);
            Gdiplus::Pen pen(rimBrush.get(), scale.pxf(2));
            Gdiplus::GraphicsPath path;
            roundedRect(path, rim, radius - scale.pxf(1));
            canvas->DrawPath(&pen, &path);
        }
    }
    RECT area = rect;
    if (look == ButtonLook::Pressed)
        OffsetRect(&area, 1, 1);
    drawCaption(dc, area, caption, font, look, DT_CENTER);
}

void paintOptionButton(HDC dc, const RECT& rect, std::wstring_view caption, HFONT font,
                       ButtonLook look, bool checked, bool focused, COLORREF back,
                       const ScreenScale& scale) {
    Brush backBrush(CreateSolidBrush(back));
    FillRect(dc, &rect, backBrush.get());
    const int mark = scale.px(OptionMarkSize);
    const int height = rect.bottom - rect.top;
    const REAL top = static_cast<REAL>(rect.top + (height - mark) / 2);
    {
        Canvas canvas(dc, rect);
        const RectF circle(static_cast<REAL>(rect.left) + 0.5f, top + 0.5f,
                           static_cast<REAL>(mark - 1), static_cast<REAL>(mark - 1));
        const bool disabled = look == ButtonLook::Disabled;
        if (disabled || look == ButtonLook::Pressed) {
            Gdiplus::SolidBrush face(disabled ? DisabledFace : MarkPressed);
            canvas->FillEllipse(&face, circle);
        } else {
            Gdiplus::LinearGradientBrush face(
                PointF(circle.X, circle.Y),
                PointF(circle.X + circle.Width, circle.Y + circle.Height), MarkFaceDark,
                MarkFaceLight);
            canvas->FillEllipse(&face, circle);
        }
        Gdiplus::Pen border(disabled ? DisabledBorder : MarkBorder, scale.pxf(1));
        canvas->DrawEllipse(&border, circle);
        if (look == ButtonLook::Hover) {
            const RectF rim = inset(circle, scale.pxf(1.5f));
            const auto rimBrush = vertical(rim, HoverRimTop, HoverRimBottom);
            Gdiplus::Pen pen(rimBrush.get(), scale.pxf(2));
            canvas->DrawEllipse(&pen, rim);
        }
        if (checked) {
            const RectF dot = inset(circle, scale.pxf(3.5f));
            if (disabled) {
                Gdiplus::SolidBrush brush(DisabledDot);
                canvas->FillEllipse(&brush, dot);
            } else {
                Gdiplus::LinearGradientBrush brush(PointF(dot.X, dot.Y),
                                                   PointF(dot.X + dot.Width, dot.Y + dot.Height),
                                                   DotLight, DotDark);
                canvas->FillEllipse(&brush, dot);
            }
        }
    }
    // The gap after the mark gives way before the caption would be cut.
    const Selected selected(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.data(), static_cast<int>(caption.size()), &extent);
    const int width = rect.right - rect.left;
    const int gap =
        std::clamp(width - mark - static_cast<int>(extent.cx), 1, scale.px(OptionCaptionGap));
    RECT area{rect.left + mark + gap, rect.top, rect.right, rect.bottom};
    drawCaption(dc, area, caption, font, look, DT_LEFT);
    if (focused) {
        RECT focus{area.left - 1, rect.top + (height - static_cast<int>(extent.cy)) / 2,
                   std::min<LONG>(area.left + extent.cx + 1, rect.right), 0};
        focus.bottom = std::min<LONG>(focus.top + extent.cy, rect.bottom);
        DrawFocusRect(dc, &focus);
    }
}

void paintTitleButton(HDC dc, const RECT& rect, TitleGlyph glyph, ButtonLook look,
                      const ScreenScale& scale) {
    Canvas canvas(dc, rect);
    const RectF outer = inset(rectF(rect), 0.5f);
    const Gradient colours = titleColours(look, glyph);
    Gdiplus::GraphicsPath face;
    roundedRect(face, outer, scale.pxf(3));
    const auto brush = vertical(outer, colours.top, colours.bottom);
    canvas->FillPath(brush.get(), &face);
    Gdiplus::Pen rim(rgb(255, 255, 255), scale.pxf(1));
    canvas->DrawPath(&rim, &face);

    // The glyph is laid out on the 21-pixel grid of the design and scaled
    // with the button.
    const REAL unit = static_cast<REAL>(rect.right - rect.left) / 21.0f;
    const auto at = [&](REAL x, REAL y) {
        return PointF(static_cast<REAL>(rect.left) + x * unit,
                      static_cast<REAL>(rect.top) + y * unit);
    };
    const Color ink = look == ButtonLook::Disabled ? rgb(235, 235, 245) : rgb(255, 255, 255);
    switch (glyph) {
    case TitleGlyph::Close: {
        Gdiplus::Pen pen(ink, 2.2f * unit);
        pen.SetStartCap(Gdiplus::LineCapSquare);
        pen.SetEndCap(Gdiplus::LineCapSquare);
        canvas->DrawLine(&pen, at(6.5f, 6.5f), at(14.5f, 14.5f));
        canvas->DrawLine(&pen, at(14.5f, 6.5f), at(6.5f, 14.5f));
        break;
    }
    case TitleGlyph::Minimise: {
        Gdiplus::SolidBrush fill(ink);
        const PointF corner = at(5, 13);
        canvas->FillRectangle(&fill, RectF(corner.X, corner.Y, 7 * unit, 3 * unit));
        break;
    }
    case TitleGlyph::Help: {
        Gdiplus::GraphicsPath hook;
        hook.AddBezier(at(7, 8), at(7, 4.5f), at(14, 4.5f), at(14, 8));
        hook.AddBezier(at(14, 8), at(14, 10.5f), at(10.5f, 10.5f), at(10.5f, 13));
        Gdiplus::Pen pen(ink, 2.2f * unit);
        pen.SetStartCap(Gdiplus::LineCapRound);
        pen.SetEndCap(Gdiplus::LineCapRound);
        pen.SetLineJoin(Gdiplus::LineJoinRound);
        canvas->DrawPath(&pen, &hook);
        Gdiplus::SolidBrush fill(ink);
        const PointF centre = at(10.5f, 16);
        canvas->FillEllipse(&fill, centre.X - 1.4f * unit, centre.Y - 1.4f * unit, 2.8f * unit,
                            2.8f * unit);
        break;
    }
    }
}

void paintTitleBand(HDC dc, const RECT& band, const ScreenScale& scale) {
    Canvas canvas(dc, band);
    const COLORREF colour = designColour(design::TitleBandColour);
    const REAL width = scale.pxf(design::TitleBandOutline);
    Gdiplus::Pen pen(rgb(GetRValue(colour), GetGValue(colour), GetBValue(colour)), width);
    pen.SetLineJoin(Gdiplus::LineJoinMiter);
    canvas->DrawRectangle(&pen, inset(rectF(band), width / 2));
}

void paintFrameLine(HDC dc, const design::Line& line, const ScreenScale& scale) {
    // Flat ends; across the line it is centred on its coordinates. The
    // designs' lines run along the axes.
    Brush brush(CreateSolidBrush(designColour(design::SystemColour::WindowText)));
    const int width = scale.px(line.width);
    const POINT from = scale.point(line.from);
    const POINT to = scale.point(line.to);
    const int before = width / 2;
    RECT r{};
    if (from.y == to.y)
        r = {std::min(from.x, to.x), from.y - before, std::max(from.x, to.x),
             from.y - before + width};
    else
        r = {from.x - before, std::min(from.y, to.y), from.x - before + width,
             std::max(from.y, to.y)};
    FillRect(dc, &r, brush.get());
}

} // namespace orvu::win32
