#include "win32/tray_icon.h"

#include <algorithm>
#include <shellapi.h>

namespace orvu::win32 {

TrayIcon::TrayIcon(HWND window, HICON icon, const std::wstring& tip) {
    m_data.cbSize = sizeof m_data;
    m_data.hWnd = window;
    m_data.uID = 1;
    m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_data.uCallbackMessage = CallbackMessage;
    m_data.hIcon = icon;
    const std::size_t length = std::min(tip.size(), std::size(m_data.szTip) - 1);
    std::copy_n(tip.data(), length, m_data.szTip);
}

TrayIcon::~TrayIcon() {
    remove();
}

bool TrayIcon::add() {
    if (m_removed)
        return false;
    // After the task bar restarted the icon is gone; adding it again may find
    // it there still (a shell that kept it), which is as good.
    m_added = Shell_NotifyIconW(NIM_ADD, &m_data) != FALSE ||
              Shell_NotifyIconW(NIM_MODIFY, &m_data) != FALSE;
    return m_added;
}

void TrayIcon::remove() {
    m_removed = true;
    if (m_added)
        Shell_NotifyIconW(NIM_DELETE, &m_data);
    m_added = false;
}

bool TrayIcon::isTaskBarCreated(UINT message) {
    static const UINT taskBarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    return message != 0 && message == taskBarCreated;
}

} // namespace orvu::win32
