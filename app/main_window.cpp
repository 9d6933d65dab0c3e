#include "app/main_window.h"

#include "app/about_window.h"
#include "app/picture_box.h"
#include "app/status_line.h"
#include "app/system_colours.h"
#include "app/tile_list_model.h"
#include "app/tray_icon.h"
#include "controls/help_button.h"
#include "controls/list_view.h"
#include "controls/option_button.h"
#include "controls/push_button.h"
#include "controls/skin.h"
#include "controls/title_button.h"
#include "controls/window_drag.h"
#include "qt/qt_asker.h"
#include "qt/qt_bridge.h"
#include "qt/qt_text.h"
#include "qt/task_bar.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>

namespace orvu {
namespace {

namespace layout = mainWindowLayout;

template <typename Control> Control* place(Control* control, const char* name, design::Rect area) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(toQRect(area));
    return control;
}

} // namespace

MainWindow::MainWindow(Asker& asker, const PngDecoder* png, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::Tool), m_asker(asker),
      m_background(QStringLiteral(":/background.bmp")) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QString());
    setWindowIcon(QIcon(QStringLiteral(":/app.ico")));
    setFont(designFont());
    setFixedSize(ClientSize);
    move(StartPosition);
    setAcceptDrops(true);
    trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    m_tray = new TrayIcon(windowIcon(), productTitle(), this);
    connect(m_tray, &TrayIcon::showWindowRequested, this, &MainWindow::showFromTray);
    createControls();
    MainWindowView& view = *this;
    m_controller = std::make_unique<HarvestController>(view, m_asker, ownerOf(this), png);
    createTileList(png);
    createTileMenu();
    connectHandlers();
    setTabOrder();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
    const QPalette& system = palette();
    const auto colour = [&](std::uint32_t value) { return designColour(value, system); };
    Controls& c = m_controls;

    c.helpButton = place(new HelpButton(this), "helpButton", layout::HelpButton);
    c.minimiseButton = place(new TitleButton(TitleButton::Kind::Minimise, this), "minimiseButton",
                             layout::MinimiseButton);
    c.closeButton =
        place(new TitleButton(TitleButton::Kind::Close, this), "closeButton", layout::CloseButton);

    c.previewBox = place(new PictureBox(this), "previewBox", layout::PreviewBox);
    c.previewBox->setBackColor(colour(layout::PreviewBackColour));

    // TRANSLATORS: each option caption has room for 84 pixels: 14 Latin
    // letters or 7 ideographs.
    c.folderModeOption = place(new OptionButton(qtText("Choose folder:"), this), "folderModeOption",
                               layout::FolderModeOption);
    c.folderModeOption->setBackColor(colour(layout::OptionBackColour));
    c.fileModeOption = place(new OptionButton(qtText("Choose file:"), this), "fileModeOption",
                             layout::FileModeOption);
    c.fileModeOption->setBackColor(colour(layout::OptionBackColour));
    c.startButton =
        place(new PushButton(qtText("Start"), this), "startButton", layout::StartButton);
    c.pickFolderButton = place(new PushButton(qtText("pick folder button", "..."), this),
                               "pickFolderButton", layout::PickFolderButton);

    const auto pathBox = [&](const char* name, design::Rect area) {
        auto* box = place(new QLineEdit(this), name, area);
        box->setReadOnly(true);
        box->setFrame(false);
        box->setAutoFillBackground(true);
        setPathBoxColour(box, layout::OtherPathBoxColour);
        return box;
    };
    c.folderPathBox = pathBox("folderPathBox", layout::FolderPathBox);
    c.pickFileButton = place(new PushButton(qtText("pick file button", "....."), this),
                             "pickFileButton", layout::PickFileButton);
    c.filePathBox = pathBox("filePathBox", layout::FilePathBox);

    c.iconList = place(new ListView(this), "iconList", layout::IconList);
    QPalette listPalette = c.iconList->palette();
    listPalette.setColor(QPalette::Text, colour(layout::ListTextColour));
    listPalette.setColor(QPalette::Base, colour(layout::ListBackColour));
    c.iconList->setPalette(listPalette);

    c.titleLabel = designLabel(this, "titleLabel", productTitle(), toQPoint(layout::TitleLabel),
                               colour(layout::TitleColour));
    new WindowDrag(c.titleLabel);
    // TRANSLATORS: room for 88 pixels before the preview box: 14 Latin letters
    // or 7 ideographs.
    const QString previewCaption = qtText("Preview:");
    c.previewCaption =
        designLabel(this, "previewCaption", previewCaption, toQPoint(layout::PreviewCaption),
                    colour(layout::PreviewCaptionColour));
    c.previewCaption->setAttribute(Qt::WA_TransparentForMouseEvents);
    c.statusLine = new StatusLine(this);
    c.statusLine->setObjectName(QStringLiteral("statusLine"));
    QPalette statusColours = c.statusLine->palette();
    statusColours.setColor(QPalette::WindowText, colour(layout::StatusColour));
    c.statusLine->setPalette(statusColours);
    c.statusLine->setGeometry(layout::StatusLine.x, layout::StatusLine.y,
                              ClientSize.width() - layout::StatusLine.x,
                              c.statusLine->sizeHint().height());
    // Labels paint on the window's surface, under every windowed control.
    c.statusLine->lower();
    for (QLabel* label : {c.titleLabel, c.previewCaption})
        label->lower();
}

void MainWindow::createTileList(const PngDecoder* png) {
    ListView* list = m_controls.iconList;
    m_tileRows = std::make_unique<TileListModel>(m_controller->tiles(), png);
    list->setModel(m_tileRows.get());
    connect(list, &ListView::pixelRatioChanged, m_tileRows.get(), &TileListModel::setPixelRatio);
    list->dragData = [this](const QList<int>& rows) { return dragData(rows); };
    m_tileRows->toolTipOf = [this](int row) {
        return row < 0 ? QString() : fromUtf8(m_controller->toolTip(static_cast<std::size_t>(row)));
    };
}

void MainWindow::connectHandlers() {
    const Controls& c = m_controls;
    HarvestController* flows = m_controller.get();
    connect(c.fileModeOption, &QAbstractButton::clicked, this,
            [flows] { flows->chooseFileMode(); });
    connect(c.folderModeOption, &QAbstractButton::clicked, this,
            [flows] { flows->chooseFolderMode(); });
    connect(c.pickFileButton, &QAbstractButton::clicked, this, [flows] { flows->pickFile(); });
    connect(c.pickFolderButton, &QAbstractButton::clicked, this, [flows] { flows->pickFolder(); });
    connect(c.startButton, &QAbstractButton::clicked, this, [flows] { flows->start(); });
    connect(c.iconList, &ListView::pressed, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint at) {
                listPressed(button, at);
            });
    connect(c.saveIconAction, &QAction::triggered, this,
            [this] { m_controller->saveTile(selectedRow()); });
    connect(c.detailsAction, &QAction::triggered, this, &MainWindow::showSelectedDetails);
    connect(c.iconList, &ListView::tileDoubleClicked, this, &MainWindow::showSelectedDetails);
    connect(c.saveSelectedAction, &QAction::triggered, this, [this] {
        std::vector<std::size_t> rows;
        for (const int row : m_controls.iconList->selectedRows())
            rows.push_back(static_cast<std::size_t>(row));
        m_controller->saveTiles(rows);
    });
    connect(c.saveAllAction, &QAction::triggered, this, [flows] { flows->saveAllTiles(); });
    connect(c.copyAction, &QAction::triggered, this, &MainWindow::copySelected);
    connect(c.iconList, &ListView::copyRequested, this, &MainWindow::copySelected);
    connect(c.includeCursorsAction, &QAction::triggered, this,
            [flows](bool include) { flows->setIncludesCursors(include); });
    connect(c.closeButton, &QAbstractButton::clicked, this, &MainWindow::closeProgram);
    connect(c.minimiseButton, &QAbstractButton::clicked, this, &MainWindow::minimise);
    connect(c.helpButton, &QAbstractButton::clicked, this, &MainWindow::showAbout);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [flows] { flows->stop(); });
}

void MainWindow::setTabOrder() {
    const Controls& c = m_controls;
    c.previewBox->setFocusPolicy(Qt::TabFocus);
    const QList<QWidget*> order{c.iconList,         c.fileModeOption,   c.filePathBox,
                                c.pickFileButton,   c.folderModeOption, c.folderPathBox,
                                c.pickFolderButton, c.startButton,      c.previewBox};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    c.iconList->setFocus();
}

bool MainWindow::load() {
    m_controller->load();
    if (onLoad && !onLoad())
        return false;
    m_tray->add();
    m_controls.iconList->setFocus();
    return true;
}

void MainWindow::setPathBoxColour(QLineEdit* box, std::uint32_t value) {
    QPalette colours = box->palette();
    const QColor background = designColour(value, palette());
    colours.setColor(QPalette::Base, background);
    colours.setColor(QPalette::Window, background);
    box->setPalette(colours);
}

void MainWindow::showSources(const SourceControls& sources) {
    const Controls& c = m_controls;
    const bool file = sources.mode == SourceMode::File;
    const bool folder = sources.mode == SourceMode::Folder;
    c.fileModeOption->setChecked(file);
    c.folderModeOption->setChecked(folder);
    setPathBoxColour(c.filePathBox,
                     file ? layout::ChosenPathBoxColour : layout::OtherPathBoxColour);
    setPathBoxColour(c.folderPathBox,
                     folder ? layout::ChosenPathBoxColour : layout::OtherPathBoxColour);
    c.filePathBox->setText(toDisplay(sources.file));
    c.folderPathBox->setText(toDisplay(sources.folder));
    c.pickFileButton->setEnabled(file);
    c.pickFolderButton->setEnabled(folder);
    c.startButton->setEnabled(sources.startEnabled);
}

void MainWindow::showStatus(const std::string& text) {
    m_controls.statusLine->setText(fromUtf8(text));
}

void MainWindow::showStatus(const std::filesystem::path& path) {
    m_controls.statusLine->setText(toDisplay(path));
}

std::uint32_t MainWindow::previewBackground() const {
    return m_controls.previewBox->backColor().rgb() & 0xFFFFFF;
}

void MainWindow::showPreview(const Surface& preview) {
    m_controls.previewBox->setImage(toQImage(preview));
    m_controls.previewBox->refresh();
}

void MainWindow::showSharpPreview(const Surface& picture) {
    m_controls.previewBox->setImage(toQImage(picture),
                                    static_cast<qreal>(picture.width) / CellSize);
    m_controls.previewBox->refresh();
}

int MainWindow::pictureSize() const {
    return m_tileRows->pictureSize();
}

void MainWindow::handleEvents() {
    QCoreApplication::processEvents();
}

void MainWindow::harvestBegins() {
    m_tileRows->setPixelRatio(m_controls.iconList->devicePixelRatioF());
    m_tileRows->holdAppends();
}

void MainWindow::showTilesSoFar() {
    m_tileRows->publishAppends();
}

void MainWindow::harvestEnds() {
    m_tileRows->releaseAppends();
}

void MainWindow::openPaths(const QStringList& paths) {
    std::vector<std::filesystem::path> chosen;
    for (const QString& path : paths)
        chosen.push_back(toPath(path));
    m_controller->openPaths(chosen);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    // Tiles dragged out of this window's own list are not a new source.
    if (event->mimeData()->hasUrls() && event->source() != m_controls.iconList)
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        paths << (url.isLocalFile() ? url.toLocalFile() : url.toString());
    event->acceptProposedAction();
    // After the drop has been answered: the harvest may run for long.
    QTimer::singleShot(0, this, [this, paths] { openPaths(paths); });
}

void MainWindow::minimise() {
    if (trayAvailable && trayAvailable())
        hide();
    else
        minimiseToTaskBar();
}

void MainWindow::showAbout() {
    // The about window, modal and with no owner: this window takes no input
    // until it is closed.
    AboutWindow::showModal();
}

void MainWindow::minimiseToTaskBar() {
    // Without a notification area a hidden window could never come back, so
    // the window takes a task-bar button and stays there minimised.
    if (windowType() == Qt::Tool) {
        setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Window);
        show();
    }
    showMinimized();
}

void MainWindow::showFromTray() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void MainWindow::closeProgram() {
    if (!m_controller->end())
        return;
    m_tray->remove();
    hide();
    if (onEndProgram)
        onEndProgram();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (windowType() == Qt::Tool)
        keepOffTaskBar(this);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    closeProgram();
    event->accept();
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), designColour(layout::BackColour, palette()));
    painter.drawPixmap(0, 0, m_background);
    layout::paintFrame(painter, palette());
}

} // namespace orvu
