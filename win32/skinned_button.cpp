#include "win32/skinned_button.h"

#include <string>

namespace orvu::win32::skinnedButton {
namespace {

constexpr wchar_t ClassName[] = L"OrvuSkinnedButton";

struct State {
    Kind kind = Kind::Push;
    bool checked = false;
    bool hovered = false;
    bool pressed = false; // the left button went down on it and is held
    bool spaceDown = false;
    COLORREF back = RGB(255, 255, 255);
    HFONT font = nullptr;
    ScreenScale scale;
};

State* stateOf(HWND window) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool takesFocus(Kind kind) {
    return kind == Kind::Push || kind == Kind::Option;
}

TitleGlyph glyphOf(Kind kind) {
    return kind == Kind::Close  ? TitleGlyph::Close
           : kind == Kind::Help ? TitleGlyph::Help
                                : TitleGlyph::Minimise;
}

void clicked(HWND window) {
    SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window));
}

bool pointerInside(HWND window, LPARAM position) {
    RECT client{};
    GetClientRect(window, &client);
    const POINT at{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    return PtInRect(&client, at) != FALSE;
}

void paint(HWND window, const State& state) {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(window, &ps);
    RECT client{};
    GetClientRect(window, &client);
    // Drawn off screen and copied at once: no flicker while the face changes.
    MemoryDc dc(target);
    Bitmap canvas(CreateCompatibleBitmap(target, client.right, client.bottom));
    {
        const Selected selected(dc.get(), canvas.get());
        // What lies behind the rounded corners: the parent's surface.
        POINT origin{0, 0};
        MapWindowPoints(window, GetParent(window), &origin, 1);
        SetViewportOrgEx(dc.get(), -origin.x, -origin.y, nullptr);
        SendMessageW(GetParent(window), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()),
                     PRF_CLIENT);
        SetViewportOrgEx(dc.get(), 0, 0, nullptr);

        const bool enabled = IsWindowEnabled(window) != FALSE;
        const ButtonLook look = buttonLook(
            enabled, (state.pressed && state.hovered) || state.spaceDown, state.hovered && enabled);
        const bool focused = GetFocus() == window;
        wchar_t caption[64]{};
        const int length = GetWindowTextW(window, caption, 64);
        const std::wstring_view text(caption, static_cast<std::size_t>(length));
        switch (state.kind) {
        case Kind::Push:
            paintPushButton(dc.get(), client, text, state.font, look, focused, state.scale);
            break;
        case Kind::Option:
            paintOptionButton(dc.get(), client, text, state.font, look, state.checked, focused,
                              state.back, state.scale);
            break;
        case Kind::Close:
        case Kind::Minimise:
        case Kind::Help:
            paintTitleButton(dc.get(), client, glyphOf(state.kind), look, state.scale);
            break;
        }
        BitBlt(target, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
    }
    EndPaint(window, &ps);
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    State* state = stateOf(window);
    if (!state && message != WM_NCCREATE)
        return DefWindowProcW(window, message, w, l);
    switch (message) {
    case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
        auto* fresh = new State;
        fresh->kind = *static_cast<const Kind*>(create->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(fresh));
        break;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete state;
        break;
    case WM_PAINT:
        paint(window, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(w);
        if (LOWORD(l))
            InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        if (message == WM_ENABLE && !w)
            state->hovered = state->pressed = state->spaceDown = false;
        if (message == WM_KILLFOCUS)
            state->spaceDown = false;
        const LRESULT result = DefWindowProcW(window, message, w, l);
        InvalidateRect(window, nullptr, FALSE);
        return result;
    }
    case WM_GETDLGCODE:
        return takesFocus(state->kind) ? DLGC_BUTTON : DLGC_STATIC;
    case WM_MOUSEMOVE: {
        const bool inside = pointerInside(window, l);
        if (inside && !state->hovered) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
            TrackMouseEvent(&track);
        }
        if (inside != state->hovered) {
            state->hovered = inside;
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        state->hovered = false;
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (takesFocus(state->kind))
            SetFocus(window);
        state->pressed = true;
        state->hovered = true;
        SetCapture(window);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_LBUTTONUP: {
        const bool click = state->pressed && pointerInside(window, l);
        state->pressed = false;
        if (GetCapture() == window)
            ReleaseCapture();
        InvalidateRect(window, nullptr, FALSE);
        if (click)
            clicked(window);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (state->pressed) {
            state->pressed = false;
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    case WM_KEYDOWN:
        if (w == VK_SPACE && takesFocus(state->kind)) {
            state->spaceDown = true;
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        }
        break;
    case WM_KEYUP:
        if (w == VK_SPACE && state->spaceDown) {
            state->spaceDown = false;
            InvalidateRect(window, nullptr, FALSE);
            clicked(window);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, w, l);
}

void registerClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = ClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

} // namespace

HWND create(HWND parent, int id, Kind kind, std::wstring_view caption) {
    registerClass();
    const std::wstring text(caption);
    const DWORD style = WS_CHILD | WS_VISIBLE | (takesFocus(kind) ? WS_TABSTOP : 0);
    return CreateWindowExW(0, ClassName, text.c_str(), style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), &kind);
}

void setChecked(HWND button, bool checked) {
    if (State* state = stateOf(button); state && state->checked != checked) {
        state->checked = checked;
        InvalidateRect(button, nullptr, FALSE);
    }
}

bool checked(HWND button) {
    const State* state = stateOf(button);
    return state && state->checked;
}

void setBackColour(HWND button, COLORREF colour) {
    if (State* state = stateOf(button)) {
        state->back = colour;
        InvalidateRect(button, nullptr, FALSE);
    }
}

void setScale(HWND button, const ScreenScale& scale) {
    if (State* state = stateOf(button)) {
        state->scale = scale;
        InvalidateRect(button, nullptr, FALSE);
    }
}

} // namespace orvu::win32::skinnedButton
