// orvu-icons.exe: pulls the icons out of Windows programs and shows them as
// tiles, in a window of Windows' own controls.

#include "png/default_decoder.h"
#include "texts/text.h"
#include "win32/interface_language.h"
#include "win32/main_window.h"
#include "win32/message_loop.h"
#include "win32/shell_asker.h"
#include "win32/single_instance.h"
#include "win32/skin.h"
#include "win32/start_arguments.h"

#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>

namespace {

// The one choice the window remembers between runs, where Qt keeps the
// Linux window's on Windows: HKEY_CURRENT_USER\Software\Orvu\orvu-icons.
constexpr wchar_t ChoicesKey[] = L"Software\\Orvu\\orvu-icons\\tiles";
constexpr wchar_t IncludeCursors[] = L"includeCursors";

bool rememberedIncludeCursors() {
    DWORD value = 0;
    DWORD size = sizeof value;
    return RegGetValueW(HKEY_CURRENT_USER, ChoicesKey, IncludeCursors, RRF_RT_REG_DWORD, nullptr,
                        &value, &size) == ERROR_SUCCESS &&
           value != 0;
}

void rememberIncludeCursors(bool include) {
    const DWORD value = include ? 1 : 0;
    RegSetKeyValueW(HKEY_CURRENT_USER, ChoicesKey, IncludeCursors, REG_DWORD, &value, sizeof value);
}

// COM in the window's thread, as the shell's dialogs, the clipboard and drag
// and drop need it.
class OleSession {
public:
    OleSession() : m_result(OleInitialize(nullptr)) {}
    ~OleSession() {
        if (SUCCEEDED(m_result))
            OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    HRESULT m_result;
};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace orvu;
    useLanguage(chooseLanguage(win32::interfaceLanguage(), availableLanguages()));
    const std::filesystem::path path = win32::startPath(GetCommandLineW());

    const OleSession ole;
    const win32::SkinSession skin;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    // One instance a user: a later start hands its path to this one, asks it
    // to come forward and ends.
    win32::SingleInstance instance;
    win32::ShellAsker asker;
    win32::MainWindow window(asker, defaultPngDecoder());
    if (!window.load([&] { return instance.claim(path); }))
        return 0;
    HarvestController& flows = window.controller();
    flows.setIncludesCursors(rememberedIncludeCursors());
    flows.onIncludesCursorsChanged = rememberIncludeCursors;
    window.show();
    if (!path.empty())
        flows.openPath(path);
    return win32::messageLoop::run();
}
