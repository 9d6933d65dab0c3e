#pragma once

#include "harvest/folder_keys.h"
#include "harvest/icon_origin.h"
#include "harvest/tile_export.h"
#include "icons/icon_drawing.h"

#include <QPixmap>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QMimeData;
class QTemporaryDir;
class QLabel;
class QLineEdit;
class QMenu;

namespace orvu {

class Dialogs;
class HelpButton;
class ImageList;
class ListView;
class OptionButton;
class PictureBox;
class PngDecoder;
class PushButton;
class StatusLine;
class TitleButton;
class TrayIcon;

// The main window: a fixed, borderless, skinned window with its own title
// bar, the two source modes (one file or one folder, each with its path box
// and picker), the Start button, the preview surface, the icon list and the
// status line. Each user action is a method; the work is done by the harvest
// classes, which reach the controls through MainWindowHarvest.
//
// One harvest runs at a time. While it runs, Start is disabled; choosing
// another source (a picker, the other mode, a drop, a path handed over by a
// later start) stops it at its next yield, before anything more reaches the
// list, and Esc stops it too. Saving many tiles is a long job of the same
// kind: it yields as a harvest does, and Esc or closing stops it.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    // Client area and place on the screen, in pixels.
    static constexpr QSize ClientSize{425, 362};
    static constexpr QPoint StartPosition{178, 71};

    // The window's controls, in the order the window holds them.
    struct Controls {
        HelpButton* helpButton = nullptr;
        TitleButton* minimiseButton = nullptr;
        TitleButton* closeButton = nullptr;
        PictureBox* previewBox = nullptr;
        ImageList* iconImages = nullptr;
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
    // Ends the program at once (the close button, any unloading). A harvest
    // in progress stops at its next yield.
    std::function<void()> onEndProgram;
    // Whether the platform has a notification area; where it has none, the
    // minimise button minimises to the task bar instead of hiding.
    std::function<bool()> trayAvailable;

    const Controls& controls() const { return m_controls; }
    bool ending() const { return m_ending; }
    bool harvesting() const { return m_harvesting; }
    bool saving() const { return m_saving; }
    // Whether the running harvest or save may go on after a yield.
    bool harvestMayContinue() const { return !m_ending && m_stop == Stop::None; }
    TrayIcon& trayIcon() { return *m_tray; }
    Dialogs& dialogs() { return m_dialogs; }
    Surface& previewSurface() { return m_preview; }
    // The colour the preview and the cells are drawn on, 0xRRGGBB.
    std::uint32_t previewBackground() const;
    const FolderKeys& folderKeys() const { return m_folderKeys; }

    // Where the icon of the next image came from (the harvest adds it with
    // the image), and the tile at an image index as the window holds it.
    void addOrigin(const IconOrigin& origin) { m_origins.push_back(origin); }
    TileIcon tile(int image) const;

    // What the user does.
    void chooseFileMode();
    void chooseFolderMode();
    void pickFile();
    void pickFolder();
    void start();
    void stopHarvest();
    void listPressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void saveSelectedIcon();
    void showSelectedDetails();
    void saveSelectedIcons();
    void saveAllIcons();
    void copySelectedIcon();
    // A file or folder dropped on the window, or named when the program was
    // started: chosen as a picker would choose it, then harvested.
    void openPaths(const QStringList& paths);
    void openPath(const std::filesystem::path& path);
    void closeProgram();
    void minimise();
    void showAbout();
    void titlePressed(QPoint globalPosition);
    void showFromTray();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class Mode { None, File, Folder };
    // Why a running harvest was asked to stop.
    enum class Stop { None, ByUser, ForNewSource };

    void createControls();
    void connectHandlers();
    void setTabOrder();
    void setPathBoxColour(QLineEdit* box, std::uint32_t designColour);
    void clearListAndImages();
    // The tip of tile `row`: its file, its icon's name and sizes, read anew.
    QString toolTipOf(int row);
    // The tiles at list rows, as the window holds them.
    std::vector<TileIcon> tilesAt(const QList<int>& rows) const;
    void saveMany(const QList<int>& rows);
    // What dragging the tiles at `rows` out of the list carries.
    QMimeData* dragDataFor(const QList<int>& rows);
    // A new source was chosen: a running harvest is for the old one.
    void leaveOldSource();
    void endProgram();
    void minimiseToTaskBar();

    // The path each path box shows, as the file system names it: its text
    // can't hold every name (bytes that are not UTF-8).
    std::filesystem::path pathIn(const QLineEdit* box) const;

    Controls m_controls;
    Dialogs& m_dialogs;
    std::filesystem::path m_openedPath; // the last path opened, as the box shows it
    const PngDecoder* m_png = nullptr;
    FolderKeys m_folderKeys;
    std::vector<IconOrigin> m_origins; // one per image, in the collection's order
    // Where dragged tiles' icon files are written; removed when the program ends.
    std::unique_ptr<QTemporaryDir> m_dragFolder;
    int m_drags = 0;
    Surface m_preview;
    QPixmap m_background;
    TrayIcon* m_tray = nullptr;
    Mode m_mode = Mode::None;
    bool m_ending = false;
    bool m_harvesting = false;
    bool m_saving = false;
    Stop m_stop = Stop::None;
    bool m_startAgain = false;
    // Where the platform can't move a window itself: the pointer's offset
    // from the window's corner while the title is dragged.
    std::optional<QPoint> m_dragOffset;
};

} // namespace orvu
