#pragma once

#include "app/main_window_layout.h"
#include "app/window_design.h"
#include "harvest/harvest_controller.h"

#include <QPixmap>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QTemporaryDir;

namespace orvu {

class Asker;
class HelpButton;
class ListView;
class OptionButton;
class PictureBox;
class PngDecoder;
class PushButton;
class StatusLine;
class TileListModel;
class TitleButton;
class TrayIcon;

// The main window's widgets: a fixed, borderless, skinned window with its own
// title bar, the two source modes (one file or one folder, each with its path
// box and picker), the Start button, the preview surface, the icon list
// showing the tiles, and the status line. Its flows are the controller's
// (HarvestController): the widgets show what it holds and hand it what the
// user does; the title bar, the tray and the about window are the window's
// own.
class MainWindow : public QWidget, private MainWindowView {
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

    MainWindow(Asker& asker, const PngDecoder* png, QWidget* parent = nullptr);
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
    // Whether the platform has a notification area; where it has none, the
    // minimise button minimises to the task bar instead of hiding.
    std::function<bool()> trayAvailable;

    const Controls& controls() const { return m_controls; }
    HarvestController& controller() { return *m_controller; }
    TileListModel& tileRows() { return *m_tileRows; }
    TrayIcon& trayIcon() { return *m_tray; }

    // Files and folders dropped on the window.
    void openPaths(const QStringList& paths);
    // A press in the list: the right button pops the tile menu up at
    // `position` (viewport pixels), on a tile or not, with what can't be
    // done now greyed.
    void listPressed(Qt::MouseButton button, QPoint position);
    // The selected tile's details in a window of their own.
    void showSelectedDetails();
    // The selected tile's largest image on the clipboard.
    void copySelected();
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

    void createControls();
    void createTileList(const PngDecoder* png);
    void createTileMenu();
    void connectHandlers();
    void setTabOrder();
    void setPathBoxColour(QLineEdit* box, std::uint32_t designColour);
    std::optional<std::size_t> selectedRow() const;
    // What dragging the tiles at `rows` out of the list carries.
    QMimeData* dragData(const QList<int>& rows);
    void minimiseToTaskBar();

    Controls m_controls;
    Asker& m_asker;
    std::unique_ptr<HarvestController> m_controller;
    std::unique_ptr<TileListModel> m_tileRows; // the rows the icon list shows
    // Where dragged tiles' icon files are written; removed when the program ends.
    std::unique_ptr<QTemporaryDir> m_dragFolder;
    int m_drags = 0;
    QPixmap m_background;
    TrayIcon* m_tray = nullptr;
};

} // namespace orvu
