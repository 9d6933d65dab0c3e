#include "win32/details_window.h"

#include "harvest/details_window_layout.h"
#include "harvest/icon_save.h"
#include "harvest/messages.h"
#include "texts/text.h"
#include "win32/image_sheet.h"
#include "win32/message_loop.h"
#include "win32/pictures.h"
#include "win32/shell_asker.h"
#include "win32/skin.h"
#include "win32/skinned_button.h"
#include "win32/wide_text.h"

#include <algorithm>
#include <chrono>
#include <windowsx.h>

namespace orvu::win32 {
namespace {

namespace layout = detailsWindowLayout;

constexpr wchar_t ClassName[] = L"OrvuDetailsWindow";
constexpr int CloseButton = 100;
constexpr int SaveWholeButton = 101;
constexpr UINT DecodeNext = WM_APP + 1;
constexpr UINT_PTR StepTimer = 1;

std::uint32_t rgbOf(COLORREF colour) {
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

// The picture over a light checkerboard, which shows what is transparent,
// each pixel `zoom` pixels a side.
Surface onCheckerboard(const IconBitmap& image, int zoom = 1) {
    const int square = layout::CheckerSquare;
    Surface board;
    board.width = image.width * zoom;
    board.height = image.height * zoom;
    board.pixels.resize(static_cast<std::size_t>(board.width) *
                        static_cast<std::size_t>(board.height));
    const IconBitmap shown = withAlphaChannel(image);
    for (int y = 0; y < board.height; ++y) {
        for (int x = 0; x < board.width; ++x) {
            const bool light = (x / square + y / square) % 2 == 0;
            const std::uint32_t under =
                rgbOf(designColour(light ? layout::CheckerLight : layout::CheckerDark));
            const std::uint32_t over = shown.pixel(x / zoom, y / zoom);
            const std::uint32_t alpha = over >> 24;
            std::uint32_t out = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                const std::uint32_t a = (over >> shift) & 0xFF;
                const std::uint32_t b = (under >> shift) & 0xFF;
                out |= ((a * alpha + b * (255 - alpha) + 127) / 255) << shift;
            }
            board.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(board.width) +
                         static_cast<std::size_t>(x)] = out;
        }
    }
    return board;
}

// A small cross on the hotspot, `zoom` pixels of the picture a pixel of the
// image, dark on light so that it shows on any picture.
void markHotspot(Surface& picture, const Hotspot& hotspot, int zoom = 1) {
    const int cx = hotspot.x * zoom + zoom / 2;
    const int cy = hotspot.y * zoom + zoom / 2;
    constexpr int Arm = 4;
    const auto set = [&](int x, int y, std::uint32_t colour) {
        if (x >= 0 && y >= 0 && x < picture.width && y < picture.height)
            picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                           static_cast<std::size_t>(x)] = colour;
    };
    for (const auto& [colour, half] : {std::pair{0xFFFFFFu, 1}, std::pair{0xDC0000u, 0}}) {
        for (int d = -Arm; d <= Arm; ++d) {
            for (int w = -half; w <= half; ++w) {
                set(cx + d, cy + w, colour);
                set(cx + w, cy + d, colour);
            }
        }
    }
}

const char* saveWholeText(GroupKind kind) {
    switch (kind) {
    case GroupKind::Icon:
        break;
    case GroupKind::Cursor:
        return text("Save Whole Cursor (.cur)...");
    case GroupKind::Animated:
        return text("Save Animated Cursor (.ani)...");
    }
    return text("Save Whole Icon (.ico)...");
}

} // namespace

void DetailsWindow::open(IconDetails details, HWND owner, Asker& asker) {
    new DetailsWindow(std::move(details), owner, asker);
}

DetailsWindow::DetailsWindow(IconDetails details, HWND owner, Asker& asker)
    : m_details(std::move(details)), m_asker(asker),
      m_scale(owner ? ScreenScale::of(owner) : ScreenScale()), m_font(designFont(m_scale)),
      m_background(resourceBitmap(L"ORVU_BACKGROUND")) {
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
    const ScreenScale& s = m_scale;
    const bool playing = m_details.stepCount() > 0;
    m_textWidth = s.px(layout::TextWidth - (playing ? layout::PlayerSide + layout::Margin : 0));
    const int imagesTop = s.px(playing ? layout::ImagesTopWithPlayer : layout::ImagesTop);

    m_window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, ClassName,
                               wide(text("Icon Properties")).c_str(), WS_POPUP | WS_CLIPCHILDREN, 0,
                               0, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), this);
    if (!m_window) {
        delete this;
        return;
    }
    m_close = skinnedButton::create(m_window, CloseButton, skinnedButton::Kind::Close, L"");
    m_saveWhole = skinnedButton::create(m_window, SaveWholeButton, skinnedButton::Kind::Push,
                                        wide(saveWholeText(m_details.kind())));
    for (HWND button : {m_close, m_saveWhole}) {
        skinnedButton::setScale(button, s);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), FALSE);
    }

    std::vector<std::wstring> labels;
    labels.reserve(m_details.imageCount());
    for (std::size_t i = 0; i < m_details.imageCount(); ++i)
        labels.push_back(wide(m_details.imageLabel(i)));
    m_images = std::make_unique<ImageSheet>(m_window, m_details.description().images,
                                            std::move(labels), wide(text("Save as PNG...")), s,
                                            m_font.get(), designColour(layout::ImagesBackColour));
    m_images->onSave = [this](std::size_t i) {
        saveWithAsker(m_asker, ownerOf(m_window), m_details.imageSubject(i));
    };

    // As tall as the images need, as far as the screen has room; below and
    // right of the main window, on its screen.
    RECT ownerPlace{};
    if (owner)
        GetWindowRect(owner, &ownerPlace);
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &screen);
    const RECT& room = screen.rcWork;
    const int width = s.px(layout::LeastSize.width);
    const int least = s.px(layout::LeastSize.height);
    const int height = std::clamp(imagesTop + m_images->heightFor(s.px(layout::TextWidth)) +
                                      s.px(layout::ImagesBottomGap),
                                  least, std::max<int>(least, room.bottom - room.top - s.px(16)));
    int x = ownerPlace.left + s.px(24);
    int y = ownerPlace.top + s.px(48);
    x = std::max<int>(room.left, std::min<int>(x, room.right - width));
    y = std::max<int>(room.top, std::min<int>(y, room.bottom - height));
    SetWindowPos(m_window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    const RECT close = s.rect(layout::CloseButton);
    MoveWindow(m_close, close.left, close.top, close.right - close.left, close.bottom - close.top,
               FALSE);
    const int margin = s.px(layout::Margin);
    m_images->place({margin, imagesTop, margin + s.px(layout::TextWidth),
                     height - s.px(layout::ImagesBottomGap)});
    HDC dc = GetDC(m_window);
    SIZE button{};
    {
        const Selected selected(dc, m_font.get());
        button = pushButtonSize(dc, wide(saveWholeText(m_details.kind())), s);
    }
    ReleaseDC(m_window, dc);
    MoveWindow(m_saveWhole, width - margin - button.cx, height - margin - button.cy, button.cx,
               button.cy, FALSE);

    messageLoop::addDialogWindow(m_window);
    ShowWindow(m_window, SW_SHOW);
    SetForegroundWindow(m_window);
    PostMessageW(m_window, DecodeNext, 0, 0);
    if (playing)
        showStep();
}

DetailsWindow::~DetailsWindow() = default;

void DetailsWindow::decodeNext() {
    if (m_next >= m_details.imageCount())
        return;
    const std::size_t i = m_next++;
    if (const auto bitmap = m_details.decode(i)) {
        Surface picture = onCheckerboard(*bitmap);
        if (const auto& hotspot = m_details.description().images[i].hotspot)
            markHotspot(picture, *hotspot);
        m_images->setPicture(i, std::move(picture));
    } else {
        m_images->setFailure(i, wide(messages::reason(bitmap.failure())));
    }
    PostMessageW(m_window, DecodeNext, 0, 0);
}

void DetailsWindow::showStep() {
    if (const auto picture = m_details.stepPicture(m_step)) {
        Surface shown = onCheckerboard(picture->bitmap, layout::PlayerZoom);
        markHotspot(shown, picture->hotspot, layout::PlayerZoom);
        m_stepPicture = std::move(shown);
        m_stepHotspot = wide(messages::hotspotText(picture->hotspot));
        const RECT player = m_scale.rect(layout::Player);
        InvalidateRect(m_window, &player, FALSE);
        const int top = m_scale.px(layout::PlayerHotspotTop);
        RECT hotspot{0, top, m_scale.px(layout::LeastSize.width),
                     top + m_scale.px(layout::TextLineHeight)};
        InvalidateRect(m_window, &hotspot, FALSE);
    }
    // A step stands at most a minute: a hostile rate can't freeze the player.
    const auto duration = std::min<std::chrono::milliseconds>(m_details.stepDuration(m_step),
                                                              std::chrono::minutes(1));
    if (m_details.stepCount() > 1)
        SetTimer(m_window, StepTimer, static_cast<UINT>(duration.count()), nullptr);
}

void DetailsWindow::paint(HDC dc) {
    const ScreenScale& s = m_scale;
    RECT client{};
    GetClientRect(m_window, &client);
    if (m_background) {
        BITMAP info{};
        GetObjectW(m_background.get(), sizeof info, &info);
        drawBitmap(dc, client, m_background.get(), {0, 0, info.bmWidth, info.bmHeight});
    }
    design::Rect band = layout::TitleBand;
    paintTitleBand(dc, s.rect(band), s);
    const Brush frame(CreateSolidBrush(designColour(design::SystemColour::WindowText)));
    FrameRect(dc, &client, frame.get());

    const Selected font(dc, m_font.get());
    SetBkMode(dc, TRANSPARENT);
    const POINT title = s.point(layout::TitleLabel);
    const std::wstring caption = wide(text("Icon Properties"));
    SetTextColor(dc, designColour(layout::TitleColour));
    TextOutW(dc, title.x, title.y, caption.c_str(), static_cast<int>(caption.size()));
    SetTextColor(dc, designColour(design::SystemColour::WindowText));
    const auto line = [&](int top, const std::wstring& words, UINT align) {
        const int margin = s.px(layout::Margin);
        RECT area{margin, s.px(top), margin + m_textWidth, s.px(top + layout::TextLineHeight)};
        DrawTextW(dc, words.c_str(), static_cast<int>(words.size()), &area,
                  align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
    };
    line(layout::HeadingTop, wide(m_details.heading()), DT_LEFT);
    line(layout::PathTop, m_details.file().wstring(), DT_LEFT);
    if (m_details.stepCount() > 0) {
        line(layout::PlayerHotspotTop, m_stepHotspot, DT_RIGHT);
        if (m_stepPicture) {
            const RECT player = s.rect(layout::Player);
            drawSurface(dc,
                        {player.left, player.top, player.left + s.px(m_stepPicture->width),
                         player.top + s.px(m_stepPicture->height)},
                        *m_stepPicture);
        }
    }
}

LRESULT CALLBACK DetailsWindow::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<DetailsWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<DetailsWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, w, l);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_window = nullptr;
        delete self;
        return DefWindowProcW(window, message, w, l);
    }
    return self->handle(message, w, l);
}

LRESULT DetailsWindow::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_window, &ps);
        paint(dc);
        EndPaint(m_window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        paint(reinterpret_cast<HDC>(w));
        return 0;
    case DecodeNext:
        decodeNext();
        return 0;
    case WM_TIMER:
        if (w == StepTimer) {
            KillTimer(m_window, StepTimer);
            m_step = (m_step + 1) % std::max<std::size_t>(1, m_details.stepCount());
            showStep();
        }
        return 0;
    case WM_COMMAND:
        if (LOWORD(w) == CloseButton || LOWORD(w) == IDCANCEL)
            DestroyWindow(m_window);
        else if (LOWORD(w) == SaveWholeButton)
            saveWithAsker(m_asker, ownerOf(m_window), m_details.iconSubject());
        return 0;
    case WM_LBUTTONDOWN:
        // The title band moves the window, as the main window's title does.
        if (GET_Y_LPARAM(l) < m_scale.px(layout::DragBandHeight)) {
            ReleaseCapture();
            SendMessageW(m_window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        }
        return 0;
    case WM_CLOSE:
        DestroyWindow(m_window);
        return 0;
    case WM_DESTROY:
        KillTimer(m_window, StepTimer);
        messageLoop::removeDialogWindow(m_window);
        m_images.reset();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, w, l);
}

} // namespace orvu::win32
