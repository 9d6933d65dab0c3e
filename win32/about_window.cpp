#include "win32/about_window.h"

#include "harvest/about_window_layout.h"
#include "texts/text.h"
#include "win32/message_loop.h"
#include "win32/pictures.h"
#include "win32/screen_scale.h"
#include "win32/skin.h"
#include "win32/skinned_button.h"
#include "win32/wide_text.h"

#include <optional>
#include <string>

namespace orvu::win32::AboutWindow {
namespace {

namespace layout = aboutWindowLayout;

constexpr wchar_t ClassName[] = L"OrvuAboutWindow";
constexpr int CloseButton = 100;

struct About {
    HWND window = nullptr;
    HWND close = nullptr;
    ScreenScale scale;
    Font font;
    Bitmap background;
    std::optional<Surface> picture;
    bool closed = false;
};

void paint(HDC dc, const About& about) {
    const ScreenScale& s = about.scale;
    if (about.background) {
        BITMAP info{};
        GetObjectW(about.background.get(), sizeof info, &info);
        drawBitmap(dc, {0, 0, s.px(info.bmWidth), s.px(info.bmHeight)}, about.background.get(),
                   {0, 0, info.bmWidth, info.bmHeight});
    }
    if (about.picture) {
        const RECT at = s.rect(layout::Picture);
        drawBitmap(dc, at, dibOf(*about.picture).get(),
                   {0, 0, about.picture->width, about.picture->height});
    }
    for (const design::Line& line : layout::FrameLines)
        paintFrameLine(dc, line, s);
    paintTitleBand(dc, s.rect(layout::TitleBand), s);

    const Selected font(dc, about.font.get());
    SetBkMode(dc, TRANSPARENT);
    const auto label = [&](design::Point at, const char* words, std::uint32_t colour,
                           int width = 0) {
        const std::wstring shown = wide(words);
        SetTextColor(dc, designColour(colour));
        const POINT p = s.point(at);
        RECT area{p.x, p.y, width > 0 ? p.x + s.px(width) : s.px(layout::ClientSize.width),
                  p.y + s.px(layout::ClientSize.height)};
        DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &area,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX |
                      (width > 0 ? DT_END_ELLIPSIS : 0));
    };
    label(layout::TitleLabel, design::productTitle(), layout::TitleColour);
    label(layout::AuthorLine, text("Author: Orvu Studio"), layout::LineColour);
    label(layout::MessengerLine, text("QQ: 10000"), layout::LineColour);
    label(layout::MailLine, text("E-mail: orvu@example.com"), layout::LineColour);
    label(layout::WebLine, text("Home page: www.example.com"), layout::LineColour,
          layout::WebLineWidth);
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
    auto* about = reinterpret_cast<About*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!about)
        return DefWindowProcW(window, message, w, l);
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        paint(dc, *about);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        paint(reinterpret_cast<HDC>(w), *about);
        return 0;
    case WM_COMMAND:
        if (LOWORD(w) == CloseButton || LOWORD(w) == IDCANCEL)
            DestroyWindow(window);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        messageLoop::removeDialogWindow(window);
        about->closed = true;
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, w, l);
}

} // namespace

void showModal(HWND blocked) {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = ClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;

    About about;
    about.scale = blocked ? ScreenScale::of(blocked) : ScreenScale();
    about.font = designFont(about.scale);
    about.background = resourceBitmap(L"ORVU_BACKGROUND");
    if (auto picture = resourcePicture(L"ORVU_ABOUT"))
        about.picture = composed(*picture, 0xFFFFFF);
    const POINT at = about.scale.point(layout::StartPosition);
    const SIZE size = about.scale.size(layout::ClientSize);
    about.window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, ClassName,
                                   wide(design::productTitle()).c_str(), WS_POPUP | WS_CLIPCHILDREN,
                                   at.x, at.y, size.cx, size.cy, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), &about);
    if (!about.window)
        return;
    about.close = skinnedButton::create(about.window, CloseButton, skinnedButton::Kind::Close, L"");
    skinnedButton::setScale(about.close, about.scale);
    const RECT close = about.scale.rect(layout::CloseButton);
    MoveWindow(about.close, close.left, close.top, close.right - close.left,
               close.bottom - close.top, FALSE);
    messageLoop::addDialogWindow(about.window);

    if (blocked)
        EnableWindow(blocked, FALSE);
    ShowWindow(about.window, SW_SHOW);
    while (!about.closed && messageLoop::pump())
        WaitMessage();
    if (!about.closed)
        DestroyWindow(about.window);
    if (blocked) {
        EnableWindow(blocked, TRUE);
        SetForegroundWindow(blocked);
    }
}

} // namespace orvu::win32::AboutWindow
