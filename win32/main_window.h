#pragma once

#include "harvest/folder_keys.h"
#include "harvest/job_runner.h"
#include "harvest/tile_collection.h"
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
// the tray icon brings it back.
class MainWindow {
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

    explicit MainWindow(const PngDecoder* png);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The load sequence: the window and its controls, the three action
    // buttons disabled, then `onLoad` (false ends the program at once, the
    // window never shown: another instance runs), then the tray icon.
    bool load(const std::function<bool()>& onLoad);
    void show();
    HWND window() const { return m_window; }

    // A file or folder dropped on the window, handed over by a later start
    // or named on the command line: chosen as a picker would choose it, then
    // harvested.
    void openPath(const std::filesystem::path& path);
    void showFromTray();

    TileCollection& tiles() { return m_tiles; }
    TileList& tileList() { return *m_list; }
    JobRunner& jobs() { return m_jobs; }
    bool includesCursors() const { return m_includesCursors; }
    void setIncludesCursors(bool include);
    // Told when the user turns "include cursors" on or off, to remember it.
    std::function<void(bool)> onIncludesCursorsChanged;

private:
    class Harvest;

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

    // What the user does.
    void chooseFileMode();
    void chooseFolderMode();
    void pickFile();
    void pickFolder();
    void start();
    bool harvest();
    void stopJob();
    void closeProgram();
    void minimise();
    void showAbout();
    void showMenu(POINT at);
    void saveSelected();
    void showSelectedDetails();
    void saveMany(const std::vector<std::size_t>& rows);
    void copySelected();
    void openPaths(const std::vector<std::filesystem::path>& paths);

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

    enum class Mode { None, File, Folder };
    Mode m_mode = Mode::None;
    std::filesystem::path m_filePath;
    std::filesystem::path m_folderPath;
    FolderKeys m_folderKeys;
    TileCollection m_tiles;
    JobRunner m_jobs;
    Surface m_preview;
    std::optional<Surface> m_sharpPreview;
    std::chrono::steady_clock::time_point m_previewPainted; // last painted inside a harvest
    bool m_previewDue = false; // changed since, to be painted with the window
    std::chrono::steady_clock::time_point m_pumped; // the last turn a harvest took
    std::optional<std::filesystem::path> m_pendingOpen; // handed over, opened next turn
    bool m_includesCursors = false;
};

} // namespace orvu::win32
