#include "app/main_window.h"

#include "app/about_window.h"
#include "app/main_window_harvest.h"
#include "app/picture_box.h"
#include "app/status_line.h"
#include "app/system_colours.h"
#include "app/tile_actions.h"
#include "app/tile_list_model.h"
#include "app/tray_icon.h"
#include "app/window_design.h"
#include "controls/help_button.h"
#include "controls/list_view.h"
#include "controls/option_button.h"
#include "controls/push_button.h"
#include "controls/skin.h"
#include "controls/title_button.h"
#include "controls/window_drag.h"
#include "harvest/messages.h"
#include "harvest/source_choice.h"
#include "harvest/start_command.h"
#include "qt/dialogs.h"
#include "qt/qt_bridge.h"
#include "qt/qt_text.h"
#include "qt/task_bar.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QShortcut>
#include <QSystemTrayIcon>
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

MainWindow::MainWindow(Dialogs& dialogs, const PngDecoder* png, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::Tool), m_dialogs(dialogs),
      m_png(png), m_preview(Surface::filled(PreviewSize, PreviewSize, 0xFFFFFF)),
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
    m_jobs.harvest = [this] { return harvest(); };
    m_jobs.harvestStopped = [this](JobRunner::Stop why) {
        m_controls.statusLine->setText(QString::fromUtf8(
            why == JobRunner::Stop::ByUser ? messages::stopped() : messages::idlePrompt()));
    };
    createControls();
    m_tileActions = std::make_unique<TileActions>(*this);
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
    m_preview = Surface::filled(PreviewSize, PreviewSize, previewBackground());
    c.previewBox->setImage(toQImage(m_preview));

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
    m_tileRows = std::make_unique<TileListModel>(m_tiles, m_png);
    c.iconList->setModel(m_tileRows.get());
    connect(c.iconList, &ListView::pixelRatioChanged, m_tileRows.get(),
            &TileListModel::setPixelRatio);

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
    c.statusLine->setText(QString::fromUtf8(messages::idlePrompt()));
    c.statusLine->setGeometry(layout::StatusLine.x, layout::StatusLine.y,
                              ClientSize.width() - layout::StatusLine.x,
                              c.statusLine->sizeHint().height());
    // Labels paint on the window's surface, under every windowed control.
    c.statusLine->lower();
    for (QLabel* label : {c.titleLabel, c.previewCaption})
        label->lower();
}

void MainWindow::connectHandlers() {
    const Controls& c = m_controls;
    connect(c.fileModeOption, &QAbstractButton::clicked, this, &MainWindow::chooseFileMode);
    connect(c.folderModeOption, &QAbstractButton::clicked, this, &MainWindow::chooseFolderMode);
    connect(c.pickFileButton, &QAbstractButton::clicked, this, &MainWindow::pickFile);
    connect(c.pickFolderButton, &QAbstractButton::clicked, this, &MainWindow::pickFolder);
    connect(c.startButton, &QAbstractButton::clicked, this, &MainWindow::start);
    TileActions* tiles = m_tileActions.get();
    connect(c.iconList, &ListView::pressed, tiles, &TileActions::listPressed);
    connect(c.saveIconAction, &QAction::triggered, tiles, &TileActions::saveSelected);
    connect(c.detailsAction, &QAction::triggered, tiles, &TileActions::showSelectedDetails);
    connect(c.iconList, &ListView::tileDoubleClicked, tiles, &TileActions::showSelectedDetails);
    connect(c.saveSelectedAction, &QAction::triggered, tiles, &TileActions::saveSelectedTiles);
    connect(c.saveAllAction, &QAction::triggered, tiles, &TileActions::saveAll);
    connect(c.copyAction, &QAction::triggered, tiles, &TileActions::copySelected);
    connect(c.iconList, &ListView::copyRequested, tiles, &TileActions::copySelected);
    connect(c.includeCursorsAction, &QAction::triggered, this, [this](bool include) {
        if (onIncludesCursorsChanged)
            onIncludesCursorsChanged(include);
    });
    connect(c.closeButton, &QAbstractButton::clicked, this, &MainWindow::closeProgram);
    connect(c.minimiseButton, &QAbstractButton::clicked, this, &MainWindow::minimise);
    connect(c.helpButton, &QAbstractButton::clicked, this, &MainWindow::showAbout);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &MainWindow::stopJob);
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
    m_controls.pickFileButton->setEnabled(false);
    m_controls.pickFolderButton->setEnabled(false);
    m_controls.startButton->setEnabled(false);
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

void MainWindow::chooseFileMode() {
    if (m_mode != Mode::File)
        m_jobs.leaveSource();
    m_mode = Mode::File;
    setPathBoxColour(m_controls.filePathBox, layout::ChosenPathBoxColour);
    setPathBoxColour(m_controls.folderPathBox, layout::OtherPathBoxColour);
    m_controls.folderPathBox->clear();
    m_controls.pickFileButton->setEnabled(true);
    m_controls.pickFolderButton->setEnabled(false);
}

void MainWindow::chooseFolderMode() {
    if (m_mode != Mode::Folder)
        m_jobs.leaveSource();
    m_mode = Mode::Folder;
    setPathBoxColour(m_controls.folderPathBox, layout::ChosenPathBoxColour);
    setPathBoxColour(m_controls.filePathBox, layout::OtherPathBoxColour);
    m_controls.filePathBox->clear();
    m_controls.pickFolderButton->setEnabled(true);
    m_controls.pickFileButton->setEnabled(false);
}

bool MainWindow::includesCursors() const {
    return m_controls.includeCursorsAction->isChecked();
}

void MainWindow::setIncludesCursors(bool include) {
    m_controls.includeCursorsAction->setChecked(include);
}

std::uint32_t MainWindow::previewBackground() const {
    return m_controls.previewBox->backColor().rgb() & 0xFFFFFF;
}

void MainWindow::pickFile() {
    m_jobs.leaveSource();
    m_tiles.clear();
    const auto chosen = m_dialogs.openFile(
        this, {qtText("Orvu Icon Extractor D2002 10 25"),
               {{QStringLiteral("(*.exe)"), QStringLiteral("*.exe")},
                {QStringLiteral("(*.cur *.ani)"), QStringLiteral("*.cur *.ani")}},
               QDir::rootPath()});
    m_controls.filePathBox->setText(chosen ? chosen->trimmed() : QString());
    m_controls.startButton->setEnabled(true);
}

void MainWindow::pickFolder() {
    m_jobs.leaveSource();
    const auto chosen = m_dialogs.chooseFolder(
        this, qtText("Please choose the folder to extract icons from........"));
    m_controls.folderPathBox->setText(chosen.value_or(QString()));
    m_controls.startButton->setEnabled(true);
    m_tiles.clear();
}

void MainWindow::start() {
    // Pressed while a job yields: that job's end runs it.
    m_jobs.start();
}

bool MainWindow::harvest() {
    MainWindowHarvest window(*this);
    m_tileRows->holdAppends();
    const bool ranToItsEnd =
        StartCommand(window, m_folderKeys, m_png)
            .run(pathIn(m_controls.filePathBox), pathIn(m_controls.folderPathBox));
    m_tileRows->releaseAppends();
    return ranToItsEnd;
}

void MainWindow::stopJob() {
    m_jobs.stopByUser();
}

std::filesystem::path MainWindow::pathIn(const QLineEdit* box) const {
    // The opened path where the box still shows it, the text otherwise.
    const QString text = box->text();
    return !m_openedPath.empty() && text == toDisplay(m_openedPath) ? m_openedPath : toPath(text);
}

void MainWindow::openPaths(const QStringList& paths) {
    if (paths.size() != 1) {
        m_dialogs.tell(this, QString::fromUtf8(messages::dropOneItem()));
        return;
    }
    openPath(toPath(paths[0]));
}

void MainWindow::openPath(const std::filesystem::path& path) {
    const auto source = chooseSource(path);
    if (!source) {
        m_dialogs.tell(this, fromUtf8(messages::cannotReadFile(path, source.failure())));
        return;
    }
    // As the pickers do: the old source's harvest stops, the list empties.
    m_jobs.leaveSource();
    const bool folder = source->mode == SourceChoice::Mode::Folder;
    (folder ? m_controls.folderModeOption : m_controls.fileModeOption)->click();
    m_tiles.clear();
    m_openedPath = source->path;
    (folder ? m_controls.folderPathBox : m_controls.filePathBox)->setText(toDisplay(source->path));
    m_controls.startButton->setEnabled(true);
    start();
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
    if (m_jobs.ending())
        return;
    m_jobs.end();
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
