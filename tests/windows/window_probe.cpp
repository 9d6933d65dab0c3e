// Looks at the running program's main window from outside, as the tests of
// the window under Wine need it, through the windows' and the list view's
// own messages:
//
//   window_probe place             the main window's place and size: "x y width height"
//   window_probe shown             whether the main window is shown: "shown yes|no"
//   window_probe count             how many main windows run: "windows N"
//   window_probe tiles [N]         the list's tile count, then per tile (the first N, all by
//                                  default) its caption and the screen rectangle of its picture:
//                                  "index<TAB>caption<TAB>left top right bottom"
//   window_probe select N          selects tile N alone (and gives it the focus)
//   window_probe tray              whether the window's tray icon is there: "tray yes|no"
//   window_probe taskbar-restart   removes the tray icon and tells the window the task bar
//                                  started anew, as Explorer does when it restarts
//   window_probe answer PATH       answers the file dialog that the main window opened (waits
//                                  for it): PATH into its name box, then its OK button
//   window_probe press ID          the control or tile-menu entry of that id, as a click on it
//                                  tells the main window (WM_COMMAND)
//   window_probe close             asks the main window to close, as its close button does
//   window_probe close-others      closes the program's other windows (about, details)
//
// Exit status 0, or 1 when there is no main window (or what was asked
// failed), 2 for a wrong command line.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
// <windows.h> first: the others build on it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t MainWindowClass[] = L"OrvuIconsMainWindow";
constexpr UINT TrayCallback = WM_APP + 1;

HWND mainWindow() {
    return FindWindowW(MainWindowClass, nullptr);
}

HWND tileList(HWND main) {
    return FindWindowExW(main, nullptr, WC_LISTVIEWW, nullptr);
}

std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

// Memory in the program's process, for the list view messages that take a pointer.
class Remote {
public:
    Remote(HWND window, std::size_t size) : m_size(size) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        m_process =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
        if (m_process)
            m_memory =
                VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~Remote() {
        if (m_memory)
            VirtualFreeEx(m_process, m_memory, 0, MEM_RELEASE);
        if (m_process)
            CloseHandle(m_process);
    }
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;

    bool usable() const { return m_memory != nullptr; }
    LPARAM address(std::size_t offset = 0) const {
        return reinterpret_cast<LPARAM>(static_cast<char*>(m_memory) + offset);
    }
    void write(const void* data, std::size_t size, std::size_t offset = 0) {
        WriteProcessMemory(m_process, static_cast<char*>(m_memory) + offset, data, size, nullptr);
    }
    void read(void* data, std::size_t size, std::size_t offset = 0) const {
        ReadProcessMemory(m_process, static_cast<char*>(m_memory) + offset, data, size, nullptr);
    }

private:
    std::size_t m_size;
    HANDLE m_process = nullptr;
    void* m_memory = nullptr;
};

int place(HWND main) {
    RECT r{};
    GetWindowRect(main, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}

int count() {
    int windows = 0;
    for (HWND found = FindWindowExW(nullptr, nullptr, MainWindowClass, nullptr); found;
         found = FindWindowExW(nullptr, found, MainWindowClass, nullptr))
        ++windows;
    std::printf("windows %d\n", windows);
    return 0;
}

int tiles(HWND list, long limit) {
    const long total = static_cast<long>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::printf("%ld\n", total);
    constexpr std::size_t TextRoom = 256;
    Remote remote(list, sizeof(LVITEMW) + TextRoom * sizeof(wchar_t) + sizeof(RECT));
    if (!remote.usable())
        return 1;
    const std::size_t textAt = sizeof(LVITEMW);
    const std::size_t rectAt = textAt + TextRoom * sizeof(wchar_t);
    for (long i = 0; i < total && (limit < 0 || i < limit); ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = reinterpret_cast<LPWSTR>(remote.address(textAt));
        item.cchTextMax = static_cast<int>(TextRoom);
        remote.write(&item, sizeof item);
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), remote.address());
        wchar_t text[TextRoom]{};
        remote.read(text, sizeof text - sizeof(wchar_t), textAt);

        RECT icon{};
        icon.left = LVIR_ICON;
        remote.write(&icon, sizeof icon, rectAt);
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(i), remote.address(rectAt));
        remote.read(&icon, sizeof icon, rectAt);
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&icon), 2);
        std::printf("%ld\t%s\t%ld %ld %ld %ld\n", i, utf8(text).c_str(), icon.left, icon.top,
                    icon.right, icon.bottom);
    }
    return 0;
}

int select(HWND list, int row) {
    Remote remote(list, sizeof(LVITEMW));
    if (!remote.usable())
        return 1;
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    remote.write(&state, sizeof state);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), remote.address());
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    remote.write(&state, sizeof state);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), remote.address());
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    return 0;
}

// The first visible Edit among a window's descendants.
HWND nameBox(HWND dialog) {
    struct Search {
        HWND found = nullptr;
    } search;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            wchar_t kind[32]{};
            GetClassNameW(child, kind, 32);
            if (_wcsicmp(kind, L"Edit") != 0 || !IsWindowVisible(child))
                return TRUE;
            reinterpret_cast<Search*>(data)->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int answer(HWND main, const wchar_t* path) {
    // The dialog: a visible top-level window that the main window owns.
    for (int attempt = 0; attempt < 200; ++attempt) {
        struct Search {
            HWND owner;
            HWND found = nullptr;
        } search{main};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                if (GetWindow(window, GW_OWNER) != s->owner || !IsWindowVisible(window))
                    return TRUE;
                s->found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        HWND dialog = search.found;
        HWND box = dialog ? nameBox(dialog) : nullptr;
        if (box) {
            Sleep(300); // the dialog fills its name box as it opens
            SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            std::printf("answered\n");
            return 0;
        }
        Sleep(100);
    }
    std::fprintf(stderr, "window_probe: no file dialog\n");
    return 1;
}

int tray(HWND main) {
    // Changing an icon succeeds only where it is there.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = main;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE;
    data.uCallbackMessage = TrayCallback;
    const bool there = Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    std::printf("tray %s\n", there ? "yes" : "no");
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_probe place|shown|count|tiles [N]|select N|tray|"
                             "taskbar-restart|answer PATH|press ID|close|close-others\n");
        return 2;
    }
    const std::wstring command = argv[1];
    if (command == L"count")
        return count();
    HWND main = mainWindow();
    if (!main) {
        std::fprintf(stderr, "window_probe: no main window\n");
        return 1;
    }
    if (command == L"place")
        return place(main);
    if (command == L"shown") {
        std::printf("shown %s\n", IsWindowVisible(main) ? "yes" : "no");
        return 0;
    }
    if (command == L"tiles")
        return tiles(tileList(main), argc > 2 ? std::wcstol(argv[2], nullptr, 10) : -1);
    if (command == L"select" && argc > 2)
        return select(tileList(main), static_cast<int>(std::wcstol(argv[2], nullptr, 10)));
    if (command == L"tray")
        return tray(main);
    if (command == L"taskbar-restart") {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = main;
        data.uID = 1;
        Shell_NotifyIconW(NIM_DELETE, &data);
        SendMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
        return 0;
    }
    if (command == L"answer" && argc > 2)
        return answer(main, argv[2]);
    if (command == L"press" && argc > 2) {
        const auto id = static_cast<WORD>(std::wcstol(argv[2], nullptr, 10));
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        return 0;
    }
    if (command == L"close-others") {
        DWORD program = 0;
        GetWindowThreadProcessId(main, &program);
        struct Others {
            HWND main;
            DWORD program;
        } others{main, program};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                const auto* o = reinterpret_cast<const Others*>(data);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (window != o->main && owner == o->program && IsWindowVisible(window))
                    PostMessageW(window, WM_CLOSE, 0, 0);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&others));
        return 0;
    }
    if (command == L"close") {
        PostMessageW(main, WM_CLOSE, 0, 0);
        return 0;
    }
    std::fprintf(stderr, "window_probe: unknown command\n");
    return 2;
}
