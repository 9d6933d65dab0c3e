#include "win32/single_instance.h"

#include <cstring>
#include <memory>
#include <sddl.h>
#include <vector>

namespace orvu::win32 {
namespace {

// What marks a WM_COPYDATA as a later start's.
constexpr ULONG_PTR HandOverTag = 0x5556524F; // "ORVU"
// The longest path Windows takes, in UTF-16 units.
constexpr DWORD LongestPath = 32767;
// How long a later start keeps looking for a first one that holds the mutex
// but has no window yet.
constexpr int FindAttempts = 20;
constexpr DWORD FindPauseMs = 100;
constexpr UINT HandOverTimeoutMs = 5000;

// The token user of a process (the current one where `process` is null).
std::vector<BYTE> tokenUser(HANDLE process) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process ? process : GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, user.data(), size, &size))
        user.clear();
    CloseHandle(token);
    return user;
}

PSID sidOf(std::vector<BYTE>& user) {
    return user.empty() ? nullptr : reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
}

std::wstring userName() {
    std::vector<BYTE> user = tokenUser(nullptr);
    PWSTR text = nullptr;
    if (!sidOf(user) || !ConvertSidToStringSidW(sidOf(user), &text))
        return L"unknown";
    std::wstring name(text);
    LocalFree(text);
    return name;
}

// Whether the process that owns `window` runs as this process's user.
bool sameUser(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process)
        return false;
    std::vector<BYTE> theirs = tokenUser(process);
    CloseHandle(process);
    std::vector<BYTE> ours = tokenUser(nullptr);
    return sidOf(theirs) && sidOf(ours) && EqualSid(sidOf(theirs), sidOf(ours));
}

// The main window of another process of this program, run by this user.
HWND firstWindow() {
    for (HWND found = FindWindowExW(nullptr, nullptr, SingleInstance::WindowClass, nullptr); found;
         found = FindWindowExW(nullptr, found, SingleInstance::WindowClass, nullptr)) {
        DWORD id = 0;
        GetWindowThreadProcessId(found, &id);
        if (id != GetCurrentProcessId() && sameUser(found))
            return found;
    }
    return nullptr;
}

} // namespace

SingleInstance::SingleInstance() : m_name(L"Local\\orvu-icons-" + userName()) {}

SingleInstance::~SingleInstance() {
    if (m_mutex)
        CloseHandle(m_mutex);
}

bool SingleInstance::claim(const std::filesystem::path& handOver) {
    if (m_mutex)
        return true;
    m_mutex = CreateMutexW(nullptr, FALSE, m_name.c_str());
    if (!m_mutex)
        return true; // run rather than lock the user out
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return true;
    CloseHandle(m_mutex);
    m_mutex = nullptr;

    for (int attempt = 0; attempt < FindAttempts; ++attempt) {
        // Its window, which this start's own (made before it asks) is not.
        if (HWND first = firstWindow()) {
            DWORD id = 0;
            GetWindowThreadProcessId(first, &id);
            AllowSetForegroundWindow(id);
            const std::wstring& path = handOver.native();
            COPYDATASTRUCT data{HandOverTag, static_cast<DWORD>(path.size() * sizeof(wchar_t)),
                                const_cast<wchar_t*>(path.data())};
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(first, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                SMTO_ABORTIFHUNG, HandOverTimeoutMs, &answer);
            break;
        }
        Sleep(FindPauseMs);
    }
    return false;
}

std::optional<std::filesystem::path> SingleInstance::handedOver(const COPYDATASTRUCT& data) {
    if (data.dwData != HandOverTag || data.cbData % sizeof(wchar_t) != 0 ||
        data.cbData > LongestPath * sizeof(wchar_t) || (data.cbData > 0 && !data.lpData))
        return std::nullopt;
    std::wstring path(data.cbData / sizeof(wchar_t), L'\0');
    if (data.cbData > 0)
        std::memcpy(path.data(), data.lpData, data.cbData);
    if (path.find(L'\0') != std::wstring::npos)
        return std::nullopt;
    return std::filesystem::path(path);
}

} // namespace orvu::win32
