#include "win32/message_loop.h"

#include <algorithm>
#include <vector>

namespace orvu::win32::messageLoop {
namespace {

std::vector<HWND>& dialogWindows() {
    static std::vector<HWND> windows;
    return windows;
}

void dispatch(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    const auto& windows = dialogWindows();
    if (root && std::find(windows.begin(), windows.end(), root) != windows.end() &&
        IsDialogMessageW(root, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

} // namespace

void addDialogWindow(HWND window) {
    dialogWindows().push_back(window);
}

void removeDialogWindow(HWND window) {
    auto& windows = dialogWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

int run() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        dispatch(message);
    return static_cast<int>(message.wParam);
}

bool pump() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        dispatch(message);
    }
    return true;
}

} // namespace orvu::win32::messageLoop
