#pragma once

#include "harvest/harvest_controller.h"
#include "icons/icon_drawing.h"
#include "icons/png_decoder.h"
#include "platform/windows_api.h"
#include "win32/gdi_objects.h"
#include "win32/screen_scale.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvu::win32 {

class DropTarget;
class TileList;
class TrayIcon;

// The main window: fixed, borderless, skinned, with its own title bar (its
// title moves it; help, minimise and close buttons), the two source modes
// (one file or one folder, each with its read-only path box and its
// picker), Start, the preview surface, the icon list and the status line,
// every control where the design's placement table puts it, scaled to the
// screen's density. It has no task-bar button: minimised, it hides, and
// the tray icon brings it back. Its flows are the controller's
// (HarvestController): the controls show what it holds and hand it what the
// user does; the title bar, the tray, the about window, the clipboard and
// dragging tiles out are the window's own.
class MainWindow : private MainWindowView {
public:
    // The ids of its controls and of the tile menu's entries.
    enum Id : int {
        HelpButton = 100,
        MinimiseButton,
        CloseButton,
        PreviewBox,
        FolderModeOption,
        FileModeOption,
        StartButton,
        PickFolderButton,
        FolderPathBox,
        PickFileButton,
        FilePathBox,
        IconList,
        SaveIconEntry = 200,
        DetailsEntry,
        SaveSelectedEntry,
        SaveAllEntry,
        CopyEntry,
        IncludeCursorsEntry,
    };

    // The questions of its flows go to `asker`.
    MainWindow(Asker& asker, const PngDecoder* png);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The load sequence: the window, its controls and its controller, the
    // three action buttons disabled, then `onLoad` (false ends the program
    // at once, the window never shown: another instance runs), then the
    // tray icon.
    bool load(const std::function<bool()>& onLoad);
    void show();
    HWND window() const { return m_window; }
    // Its flows; there once load() has made the window.
    HarvestController& controller() { return *m_controller; }
    TileList& tileList() { return *m_list; }
    void showFromTray();

private:
    // What the controller shows and runs through the window.
    void showSources(const SourceControls& sources) override;
    void showStatus(const std::string& text) override;
    void showStatus(const std::filesystem::path& path) override;
    std::uint32_t previewBackground() const override;
    void showPreview(const Surface& preview) override;
    void showSharpPreview(const Surface& picture) override;
    int pictureSize() const override;
    void handleEvents() override;
    void harvestBegins() override;
    void showTilesSoFar() override;
    void harvestEnds() override;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void createControls();
    void layOut(const ScreenScale& scale);
    void paintSurface(HDC dc);
    void command(int id);
    RECT statusRect() const;
    RECT titleRect() const;
    void setStatus(const std::wstring& text);
    void setPathBox(HWND box, const std::wstring& text);
    void refreshPreview();

    // What the window does itself.
    void closeProgram();
    void minimise();
    void showAbout();
    void showMenu(POINT at);
    void showSelectedDetails();
    void copySelected();

    Asker& m_asker;
    const PngDecoder* m_png;
    HWND m_window = nullptr;
    ScreenScale m_scale;
    Font m_font;
    Bitmap m_background;
    HICON m_icon = nullptr;
    HICON m_smallIcon = nullptr;
    struct Controls {
        HWND help = nullptr, minimise = nullptr, close = nullptr, preview = nullptr;
        HWND folderMode = nullptr, fileMode = nullptr, start = nullptr, pickFolder = nullptr;
        HWND folderPath = nullptr, pickFile = nullptr, filePath = nullptr;
    } m_controls;
    std::unique_ptr<TileList> m_list;
    std::unique_ptr<TrayIcon> m_tray;
    std::unique_ptr<DropTarget> m_dropTarget;
    HMENU m_menu = nullptr;
    Brush m_chosenBoxBrush;
    Brush m_otherBoxBrush;
    std::uint32_t m_filePathColour;
    std::uint32_t m_folderPathColour;
    std::wstring m_status;
    RECT m_statusArea{};
    std::chrono::steady_clock::time_point m_statusPainted;
    bool m_statusDue = false; // a paint of the status line is timed

    std::unique_ptr<HarvestController> m_controller;
    const Surface* m_preview = nullptr; // the controller's preview surface
    std::optional<Surface> m_sharpPreview;
    std::chrono::steady_clock::time_point m_previewPainted; // last painted inside a harvest
    bool m_previewDue = false;                      // changed since, to be painted with the window
    std::chrono::steady_clock::time_point m_pumped; // the last turn a harvest took
    std::chrono::steady_clock::time_point m_published;  // the last tiles it showed
    std::optional<std::filesystem::path> m_pendingOpen; // handed over, opened next turn
};

} // namespace orvu::win32
