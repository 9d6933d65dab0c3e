#pragma once

#include "harvest/harvest_counters.h"
#include "icons/icon_drawing.h"

#include <QPixmap>
#include <QWidget>
#include <functional>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;

namespace orvu {

class Dialogs;
class ImageList;
class ListView;
class PictureBox;
class StatusLine;
class TrayIcon;
class PngDecoder;
class XPCommandButton;
class XPOptionButton;
class XPTitleButtons;
class XPTitleHelpButton;

// The main window: a fixed, borderless, skinned window with its own title
// bar, the two source modes (one file in Text1, one folder in Text2), the
// Start button, the preview surface, the icon list and the status line.
// Its controls keep the names of the window's design. Each handler is a
// method named after its control and event; the work is done by the harvest
// classes, which reach the controls through MainWindowHarvest.
class Form1 : public QWidget {
    Q_OBJECT

public:
    // Client area and place on the screen, in pixels.
    static constexpr QSize ClientSize{425, 362};
    static constexpr QPoint StartPosition{178, 71};

    Form1(Dialogs& dialogs, const PngDecoder* png, QWidget* parent = nullptr);
    ~Form1() override;

    // The load sequence: the three action buttons disabled, then whatever
    // the program adds at load (see onLoad). False when the program must end
    // at once, before the window is ever shown.
    bool load();
    // Runs during load, after the action buttons are disabled; false ends
    // the program (another instance is running).
    std::function<bool()> onLoad;
    // Ends the program at once (the close button, any unloading). A folder
    // scan in progress stops at its next yield.
    std::function<void()> onEndProgram;

    // Whether the platform has a notification area; where it has none, the
    // minimise button minimises to the task bar instead of hiding.
    std::function<bool()> trayAvailable;

    bool ending() const { return m_ending; }
    TrayIcon& trayIcon() { return *m_tray; }
    Dialogs& dialogs() { return m_dialogs; }
    Surface& previewSurface() { return m_preview; }
    HarvestCounters& harvestCounters() { return m_counters; }

    // Handlers.
    void c1Click();
    void c2Click();
    void xp1Click();
    void xp2Click();
    void XPCommandButton3Click();
    void ListView1MouseDown(int button, Qt::KeyboardModifiers shift, QPoint position);
    void wddwClick();
    void XPTitleButtons1Click();
    void XPTitleButtons2Click();
    void XPTitleHelpButton1Click();
    void Label2MouseDown(QPoint globalPosition);
    void trayShowWindow();

    // The controls, as the design names them.
    XPTitleHelpButton* XPTitleHelpButton1 = nullptr;
    XPTitleButtons* XPTitleButtons2 = nullptr;
    XPTitleButtons* XPTitleButtons1 = nullptr;
    PictureBox* Picture1 = nullptr;
    ImageList* ImageList1 = nullptr;
    XPOptionButton* c2 = nullptr;
    XPOptionButton* c1 = nullptr;
    XPCommandButton* XPCommandButton3 = nullptr;
    XPCommandButton* xp2 = nullptr;
    QLineEdit* Text2 = nullptr;
    XPCommandButton* xp1 = nullptr;
    QLineEdit* Text1 = nullptr;
    ListView* ListView1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    StatusLine* Label1 = nullptr;
    QMenu* wdddd = nullptr;
    QAction* wddw = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void connectHandlers();
    void setTabOrder();
    void setPathBoxColour(QLineEdit* box, std::uint32_t designColour);
    void clearListAndImages();
    void endProgram();
    void minimiseToTaskBar();

    Dialogs& m_dialogs;
    const PngDecoder* m_png = nullptr;
    HarvestCounters m_counters;
    Surface m_preview;
    QPixmap m_background;
    TrayIcon* m_tray = nullptr;
    bool m_ending = false;
    // Where the platform can't move a window itself: the pointer's offset
    // from the window's corner while the title is dragged.
    std::optional<QPoint> m_dragOffset;
};

} // namespace orvu
