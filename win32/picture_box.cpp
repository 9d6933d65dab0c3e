#include "win32/picture_box.h"

#include "win32/gdi_objects.h"
#include "win32/pictures.h"

namespace orvu::win32::pictureBox {
namespace {

constexpr wchar_t ClassName[] = L"OrvuPictureBox";

struct State {
    const Surface* picture = nullptr;
    int shownSize = 0;
    COLORREF background = RGB(255, 255, 255);
};

State* stateOf(HWND box) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(box, GWLP_USERDATA));
}

LRESULT CALLBACK procedure(HWND box, UINT message, WPARAM w, LPARAM l) {
    State* state = stateOf(box);
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new State));
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrW(box, GWLP_USERDATA, 0);
        delete state;
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(box, &ps);
        RECT client{};
        GetClientRect(box, &client);
        const Brush back(CreateSolidBrush(state ? state->background : RGB(255, 255, 255)));
        FillRect(dc, &client, back.get());
        if (state && state->picture && state->shownSize > 0)
            drawSurface(dc, {0, 0, state->shownSize, state->shownSize}, *state->picture);
        EndPaint(box, &ps);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(box, message, w, l);
}

} // namespace

HWND create(HWND parent, int id) {
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
    return CreateWindowExW(0, ClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void setPicture(HWND box, const Surface* picture, int shownSize, COLORREF background) {
    if (State* state = stateOf(box)) {
        state->picture = picture;
        state->shownSize = shownSize;
        state->background = background;
    }
}

void refresh(HWND box) {
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void refreshLater(HWND box) {
    InvalidateRect(box, nullptr, FALSE);
}

} // namespace orvu::win32::pictureBox
