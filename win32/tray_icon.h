#pragma once

#include "platform/windows_api.h"

#include <shellapi.h>
#include <string>

namespace orvu::win32 {

// The program's icon in the notification area: the window's icon with the
// product title as its tip, no menu. Events over it reach the window as
// `callbackMessage`; a left-button press on it brings the window back
// (showsWindowFor). It is added at load and removed when the program ends,
// and added again when the task bar starts anew (Explorer restarted).
class TrayIcon {
public:
    static constexpr UINT CallbackMessage = WM_APP + 1;

    TrayIcon(HWND window, HICON icon, const std::wstring& tip);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    bool add();
    void remove();
    bool added() const { return m_added; }

    // Whether a message the window got is the task bar's "I started anew".
    static bool isTaskBarCreated(UINT message);
    // Whether the event `lParam` of CallbackMessage brings the window back.
    static bool showsWindowFor(LPARAM event) { return LOWORD(event) == WM_LBUTTONDOWN; }

private:
    NOTIFYICONDATAW m_data{};
    bool m_added = false;
    bool m_removed = false;
};

} // namespace orvu::win32
