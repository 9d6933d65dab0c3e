// The real Windows window, driven in its own process (under Wine, or on
// Windows), as orvu-window-bench drives the Linux one.
//
//   orvu-window-bench.exe start FILE [--repeat N]
//       Milliseconds from opening FILE (as "Open with" does) to its last tile
//       listed, and until the list has drawn what it shows; the longest time
//       the window went without handling its messages.
//   orvu-window-bench.exe scan DIR
//       A folder harvest of DIR through the window: the total time, the
//       longest time the window went without handling its messages, the
//       process's peak memory.
//
// The longest pause is measured from outside the window's work: a second
// thread posts the window's thread a stamped message every millisecond, and
// the longest wait of one of them before it was handled is the pause.

#include "png/default_decoder.h"
#include "win32/main_window.h"
#include "win32/message_loop.h"
#include "win32/shell_asker.h"
#include "win32/skin.h"
#include "win32/tile_list.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <commctrl.h>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <ole2.h>
#include <psapi.h>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The longest a stamped message waited for the window's thread.
class Pauses {
public:
    Pauses() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM w, LPARAM l) -> LRESULT {
            if (message == Ping) {
                auto* self = reinterpret_cast<Pauses*>(GetWindowLongPtrW(window, GWLP_USERDATA));
                const auto sent = Clock::time_point(Clock::duration(static_cast<long long>(l)));
                self->m_longest = std::max(self->m_longest, Clock::now() - sent);
                self->m_waiting = false;
                return 0;
            }
            return DefWindowProcW(window, message, w, l);
        };
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"OrvuBenchPauses";
        RegisterClassW(&windowClass);
        m_window = CreateWindowW(L"OrvuBenchPauses", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_pinger = std::thread([this] {
            while (!m_stop) {
                if (!m_waiting.exchange(true))
                    PostMessageW(m_window, Ping, 0,
                                 static_cast<LPARAM>(Clock::now().time_since_epoch().count()));
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }
    ~Pauses() {
        stop();
        DestroyWindow(m_window);
    }
    Pauses(const Pauses&) = delete;
    Pauses& operator=(const Pauses&) = delete;

    void stop() {
        m_stop = true;
        if (m_pinger.joinable())
            m_pinger.join();
    }
    double longestMilliseconds() const { return milliseconds(m_longest); }

private:
    static constexpr UINT Ping = WM_APP + 7;
    HWND m_window = nullptr;
    std::thread m_pinger;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_waiting{false};
    Clock::duration m_longest{};
};

double peakMib() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

struct Window {
    orvu::win32::ShellAsker asker;
    orvu::win32::MainWindow form{asker, orvu::defaultPngDecoder()};
    Window() {
        form.load(nullptr);
        form.show();
        orvu::win32::messageLoop::pump();
    }
};

int start(const std::filesystem::path& file, int repeat) {
    Window window;
    std::vector<double> listed;
    std::vector<double> drawn;
    double longest = 0;
    for (int i = 0; i < repeat; ++i) {
        Pauses pauses;
        const auto begin = Clock::now();
        window.form.controller().openPath(file);
        listed.push_back(milliseconds(Clock::now() - begin));
        // Until the list has drawn what it shows at the screen's size.
        do {
            orvu::win32::messageLoop::pump();
            UpdateWindow(window.form.window());
        } while (window.form.tileList().redrawing());
        drawn.push_back(milliseconds(Clock::now() - begin));
        pauses.stop();
        longest = std::max(longest, pauses.longestMilliseconds());
    }
    std::sort(listed.begin(), listed.end());
    std::sort(drawn.begin(), drawn.end());
    std::printf("windows start: %zu tiles at %d px, best %.2f ms, median %.2f ms, worst %.2f ms; "
                "drawn: best %.2f ms, median %.2f ms; longest pause %.2f ms\n",
                window.form.controller().tiles().size(), window.form.tileList().pictureSize(),
                listed.front(), listed[listed.size() / 2], listed.back(), drawn.front(),
                drawn[drawn.size() / 2], longest);
    return 0;
}

int scan(const std::filesystem::path& folder) {
    Window window;
    Pauses pauses;
    const auto begin = Clock::now();
    window.form.controller().openPath(folder);
    const double total = milliseconds(Clock::now() - begin) / 1000.0;
    pauses.stop();
    std::printf("windows scan: %zu tiles, %.3f s total, longest pause %.2f ms, peak %.1f MiB\n",
                window.form.controller().tiles().size(), total, pauses.longestMilliseconds(),
                peakMib());
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: orvu-window-bench.exe start FILE [--repeat N] | scan DIR\n");
        return 2;
    }
    OleInitialize(nullptr);
    const orvu::win32::SkinSession skin;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const std::wstring command = argv[1];
    const std::filesystem::path path = std::filesystem::absolute(argv[2]);
    int status = 2;
    if (command == L"start") {
        const int repeat = argc > 4 && std::wstring(argv[3]) == L"--repeat"
                               ? std::max(1, static_cast<int>(std::wcstol(argv[4], nullptr, 10)))
                               : 1;
        status = start(path, repeat);
    } else if (command == L"scan") {
        status = scan(path);
    }
    OleUninitialize();
    return status;
}
