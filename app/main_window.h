#pragma once

#include "app/main_window_layout.h"
#include "app/window_design.h"
#include "harvest/folder_keys.h"
#include "harvest/job_runner.h"
#include "harvest/tile_collection.h"
#include "icons/icon_drawing.h"

#include <QPixmap>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;

namespace orvu {

class Dialogs;
class HelpButton;
class ListView;
class OptionButton;
class PictureBox;
class PngDecoder;
class PushButton;
class StatusLine;
class TileActions;
class TileListModel;
class TitleButton;
class TrayIcon;

// The main window: a fixed, borderless, skinned window with its own title
// bar, the two source modes (one file or one folder, each with its path box
// and picker), the Start button, the preview surface, the icon list showing
// the tiles, and the status line. Each user action is a method; the harvest
// classes do the work, reaching the controls through MainWindowHarvest, and
// TileActions does what the tile menu offers.
//
// The long jobs (a harvest, saving many tiles) go through one JobRunner:
// one at a time, each yielding to the window's events. Choosing another
// source (a picker, the other mode, a drop, a path handed over by a later
// start) stops a running harvest at its next yield, before anything more
// reaches the list; Esc or closing the window stops either job.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize ClientSize = toQSize(mainWindowLayout::ClientSize);
    static constexpr QPoint StartPosition = toQPoint(mainWindowLayout::StartPosition);

    // The window's controls, in the order the window holds them.
    struct Controls {
        HelpButton* helpButton = nullptr;
        TitleButton* minimiseButton = nullptr;
        TitleButton* closeButton = nullptr;
        PictureBox* previewBox = nullptr;
        OptionButton* folderModeOption = nullptr;
        OptionButton* fileModeOption = nullptr;
        PushButton* startButton = nullptr;
        PushButton* pickFolderButton = nullptr;
        QLineEdit* folderPathBox = nullptr;
        PushButton* pickFileButton = nullptr;
        QLineEdit* filePathBox = nullptr;
        ListView* iconList = nullptr;
        QLabel* titleLabel = nullptr;
        QLabel* previewCaption = nullptr;
        StatusLine* statusLine = nullptr;
        QMenu* tileMenu = nullptr;
        QAction* saveIconAction = nullptr;
        QAction* detailsAction = nullptr;
        QAction* saveSelectedAction = nullptr;
        QAction* saveAllAction = nullptr;
        QAction* copyAction = nullptr;
        QAction* includeCursorsAction = nullptr;
    };

    MainWindow(Dialogs& dialogs, const PngDecoder* png, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The load sequence: the three action buttons disabled, then whatever
    // the program adds at load (see onLoad). False when the program must end
    // at once, before the window is ever shown.
    bool load();
    // Runs during load, after the action buttons are disabled; false ends
    // the program (another instance is running).
    std::function<bool()> onLoad;
    // Ends the program at once (the close button, any unloading). A job in
    // progress stops at its next yield.
    std::function<void()> onEndProgram;
    // Told when the user turns "include cursors" on or off, to remember it.
    std::function<void(bool)> onIncludesCursorsChanged;
    // Whether the platform has a notification area; where it has none, the
    // minimise button minimises to the task bar instead of hiding.
    std::function<bool()> trayAvailable;

    const Controls& controls() const { return m_controls; }
    TileCollection& tiles() { return m_tiles; }
    const TileCollection& tiles() const { return m_tiles; }
    JobRunner& jobs() { return m_jobs; }
    TileListModel& tileRows() { return *m_tileRows; }
    bool ending() const { return m_jobs.ending(); }
    bool harvesting() const { return m_jobs.running() == JobRunner::Job::Harvest; }
    bool saving() const { return m_jobs.running() == JobRunner::Job::Save; }
    TrayIcon& trayIcon() { return *m_tray; }
    Dialogs& dialogs() { return m_dialogs; }
    const PngDecoder* png() const { return m_png; }
    Surface& previewSurface() { return m_preview; }
    // The colour the preview and the cells are drawn on, 0xRRGGBB.
    std::uint32_t previewBackground() const;
    const FolderKeys& folderKeys() const { return m_folderKeys; }
    // Whether a harvest adds each program's cursors after its icons (the
    // tile menu's checkable item); off until set.
    bool includesCursors() const;
    void setIncludesCursors(bool include);

    // What the user does.
    void chooseFileMode();
    void chooseFolderMode();
    void pickFile();
    void pickFolder();
    void start();
    void stopJob();
    // The tile menu, a double click, Ctrl+C and dragging tiles out.
    TileActions& tileActions() { return *m_tileActions; }
    // A file or folder dropped on the window, or named when the program was
    // started: chosen as a picker would choose it, then harvested.
    void openPaths(const QStringList& paths);
    void openPath(const std::filesystem::path& path);
    // The close button, or any unloading: ends the program (once).
    void closeProgram();
    void minimise();
    void showAbout();
    void showFromTray();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class Mode { None, File, Folder };

    void createControls();
    void createTileMenu();
    void connectHandlers();
    void setTabOrder();
    void setPathBoxColour(QLineEdit* box, std::uint32_t designColour);
    // Runs the Start command on the chosen source: true when it ran to its end.
    bool harvest();
    void minimiseToTaskBar();

    // The path each path box shows, as the file system names it: its text
    // can't hold every name (bytes that are not UTF-8).
    std::filesystem::path pathIn(const QLineEdit* box) const;

    Controls m_controls;
    Dialogs& m_dialogs;
    std::filesystem::path m_openedPath; // the last path opened, as the box shows it
    const PngDecoder* m_png = nullptr;
    FolderKeys m_folderKeys;
    TileCollection m_tiles;
    std::unique_ptr<TileListModel> m_tileRows; // the rows the icon list shows
    std::unique_ptr<TileActions> m_tileActions;
    JobRunner m_jobs;
    Surface m_preview;
    QPixmap m_background;
    TrayIcon* m_tray = nullptr;
    Mode m_mode = Mode::None;
};

} // namespace orvu
