#pragma once

#include "platform/windows_api.h"

#include <filesystem>
#include <optional>
#include <string>

namespace orvu::win32 {

// One instance a user in a session. The first start holds a named mutex in
// the session's namespace, named after the user's security id; a later
// start finds it held, hands the path it was started with (or none) to the
// first one's main window as WM_COPYDATA, lets it come to the foreground,
// and ends. The path goes only to a window whose process runs as the same
// user.
class SingleInstance {
public:
    // The class of the main window a later start looks for.
    static constexpr wchar_t WindowClass[] = L"OrvuIconsMainWindow";

    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this is the first instance (or when no mutex can be made at
    // all, so that nobody is locked out); it then holds the mutex until
    // destroyed. False when another instance runs; it has been handed
    // `handOver` (when it could be reached).
    bool claim(const std::filesystem::path& handOver);
    const std::wstring& mutexName() const { return m_name; }

    // In the first instance: whether a WM_COPYDATA is a later start's, and
    // the path it hands over (empty for none).
    static std::optional<std::filesystem::path> handedOver(const COPYDATASTRUCT& data);

private:
    std::wstring m_name;
    HANDLE m_mutex = nullptr;
};

} // namespace orvu::win32
