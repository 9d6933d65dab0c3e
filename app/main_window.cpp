#include "app/main_window.h"

#include "app/about_window.h"
#include "app/icon_details_window.h"
#include "app/main_window_harvest.h"
#include "app/picture_box.h"
#include "app/status_line.h"
#include "app/system_colours.h"
#include "app/tile_mime_data.h"
#include "app/tray_icon.h"
#include "app/window_design.h"
#include "controls/help_button.h"
#include "controls/image_list.h"
#include "controls/list_view.h"
#include "controls/option_button.h"
#include "controls/push_button.h"
#include "controls/skin.h"
#include "controls/title_button.h"
#include "export/save_format.h"
#include "harvest/batch_export.h"
#include "harvest/icon_details.h"
#include "harvest/messages.h"
#include "harvest/source_choice.h"
#include "harvest/start_command.h"
#include "platform/atomic_file.h"
#include "qt/dialogs.h"
#include "qt/qt_bridge.h"
#include "qt/qt_text.h"
#include "qt/task_bar.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <array>

namespace orvu {
namespace {

constexpr std::uint32_t WindowBackColour = 0x00FF8080;

// What the save dialog offers, in this order; saving many offers the first two.
constexpr std::array<SaveFormat, 3> SaveFormats{SaveFormat::Ico, SaveFormat::Png, SaveFormat::Bmp};
constexpr std::array<SaveFormat, 2> SaveManyFormats{SaveFormat::Ico, SaveFormat::Png};

template <typename Control> Control* place(Control* control, const char* name, QRect area) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(area);
    return control;
}

// The initial folder of the save dialog: the one named by WinDir, otherwise home.
QString saveFolder() {
    const QString windows = qEnvironmentVariable("WinDir");
    if (!windows.isEmpty() && QDir(windows).exists())
        return windows;
    return QDir::homePath();
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
    createControls();
    connectHandlers();
    setTabOrder();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
    const QPalette& system = palette();
    const auto colour = [&](std::uint32_t value) { return designColour(value, system); };
    Controls& c = m_controls;

    c.helpButton = place(new HelpButton(this), "helpButton", twips(5040, 120, 315, 315));
    c.minimiseButton = place(new TitleButton(TitleButton::Kind::Minimise, this), "minimiseButton",
                             twips(5400, 120, 315, 315));
    c.closeButton = place(new TitleButton(TitleButton::Kind::Close, this), "closeButton",
                          twips(5760, 120, 315, 315));

    c.previewBox = place(new PictureBox(this), "previewBox", twips(2160, 1440, 495, 495));
    c.previewBox->setBackColor(colour(SystemColour::WindowBackground));
    m_preview = Surface::filled(PreviewSize, PreviewSize, previewBackground());
    c.previewBox->setImage(toQImage(m_preview));

    c.iconImages = new ImageList(this);
    c.iconImages->setObjectName(QStringLiteral("iconImages"));
    c.iconImages->setImageWidth(CellSize);
    c.iconImages->setImageHeight(CellSize);

    // TRANSLATORS: each option caption has room for 84 pixels: 14 Latin
    // letters or 7 ideographs.
    c.folderModeOption = place(new OptionButton(qtText("Choose folder:"), this), "folderModeOption",
                               twips(600, 1080, 1455, 255));
    c.folderModeOption->setBackColor(colour(PanelColour));
    c.fileModeOption = place(new OptionButton(qtText("Choose file:"), this), "fileModeOption",
                             twips(600, 720, 1455, 255));
    c.fileModeOption->setBackColor(colour(PanelColour));
    c.startButton =
        place(new PushButton(qtText("Start"), this), "startButton", twips(4200, 1560, 1335, 375));
    c.pickFolderButton = place(new PushButton(qtText("pick folder button", "..."), this),
                               "pickFolderButton", twips(5160, 1080, 375, 255));

    const auto pathBox = [&](const char* name, QRect area) {
        auto* box = place(new QLineEdit(this), name, area);
        box->setReadOnly(true);
        box->setFrame(false);
        box->setAutoFillBackground(true);
        setPathBoxColour(box, SystemColour::ActiveBorder);
        return box;
    };
    c.folderPathBox = pathBox("folderPathBox", twips(2160, 1080, 2895, 270));
    c.pickFileButton = place(new PushButton(qtText("pick file button", "....."), this),
                             "pickFileButton", twips(5160, 720, 375, 255));
    c.filePathBox = pathBox("filePathBox", twips(2160, 720, 2895, 270));

    c.iconList = place(new ListView(this), "iconList", twips(120, 2160, 6135, 2895));
    QPalette listPalette = c.iconList->palette();
    listPalette.setColor(QPalette::Text, colour(SystemColour::WindowText));
    listPalette.setColor(QPalette::Base, colour(SystemColour::WindowBackground));
    c.iconList->setPalette(listPalette);
    c.iconList->setIcons(c.iconImages);

    c.titleLabel = designLabel(this, "titleLabel", productTitle(), twips(240, 240),
                               colour(SystemColour::HighlightText));
    c.titleLabel->installEventFilter(this);
    // TRANSLATORS: room for 88 pixels before the preview box: 14 Latin letters
    // or 7 ideographs.
    c.previewCaption = designLabel(this, "previewCaption", qtText("Preview:"), twips(840, 1680),
                                   colour(SystemColour::WindowText));
    c.previewCaption->setAttribute(Qt::WA_TransparentForMouseEvents);
    // The status line shows paths of any length: it spans the rest of its row.
    c.statusLine = new StatusLine(this);
    c.statusLine->setObjectName(QStringLiteral("statusLine"));
    QPalette statusColours = c.statusLine->palette();
    statusColours.setColor(QPalette::WindowText, colour(SystemColour::HighlightText));
    c.statusLine->setPalette(statusColours);
    c.statusLine->setText(QString::fromUtf8(messages::idlePrompt()));
    const QPoint statusAt = twips(360, 5160);
    c.statusLine->setGeometry(statusAt.x(), statusAt.y(), ClientSize.width() - statusAt.x(),
                              c.statusLine->sizeHint().height());
    // Labels paint on the window's surface, under every windowed control.
    c.statusLine->lower();
    for (QLabel* label : {c.titleLabel, c.previewCaption})
        label->lower();

    c.tileMenu = new QMenu(this);
    c.tileMenu->setObjectName(QStringLiteral("tileMenu"));
    c.saveIconAction = c.tileMenu->addAction(qtText("Save Icon As..."));
    c.saveIconAction->setObjectName(QStringLiteral("saveIconAction"));
    c.detailsAction = c.tileMenu->addAction(qtText("Icon Properties..."));
    c.detailsAction->setObjectName(QStringLiteral("detailsAction"));
    c.tileMenu->addSeparator();
    c.saveSelectedAction = c.tileMenu->addAction(qtText("Save Selected Icons..."));
    c.saveSelectedAction->setObjectName(QStringLiteral("saveSelectedAction"));
    c.saveAllAction = c.tileMenu->addAction(qtText("Save All..."));
    c.saveAllAction->setObjectName(QStringLiteral("saveAllAction"));
    c.copyAction = c.tileMenu->addAction(qtText("Copy"));
    c.copyAction->setObjectName(QStringLiteral("copyAction"));
    // Shown in the menu; the list itself takes the key.
    c.copyAction->setShortcut(QKeySequence::Copy);
    c.copyAction->setShortcutContext(Qt::WidgetShortcut);
    c.iconList->dragData = [this](const QList<int>& rows) { return dragDataFor(rows); };
    c.iconList->listItems().setToolTips([this](int row) { return toolTipOf(row); });
}

void MainWindow::connectHandlers() {
    const Controls& c = m_controls;
    connect(c.fileModeOption, &QAbstractButton::clicked, this, &MainWindow::chooseFileMode);
    connect(c.folderModeOption, &QAbstractButton::clicked, this, &MainWindow::chooseFolderMode);
    connect(c.pickFileButton, &QAbstractButton::clicked, this, &MainWindow::pickFile);
    connect(c.pickFolderButton, &QAbstractButton::clicked, this, &MainWindow::pickFolder);
    connect(c.startButton, &QAbstractButton::clicked, this, &MainWindow::start);
    connect(c.iconList, &ListView::pressed, this, &MainWindow::listPressed);
    connect(c.saveIconAction, &QAction::triggered, this, &MainWindow::saveSelectedIcon);
    connect(c.detailsAction, &QAction::triggered, this, &MainWindow::showSelectedDetails);
    connect(c.iconList, &ListView::tileDoubleClicked, this, &MainWindow::showSelectedDetails);
    connect(c.saveSelectedAction, &QAction::triggered, this, &MainWindow::saveSelectedIcons);
    connect(c.saveAllAction, &QAction::triggered, this, &MainWindow::saveAllIcons);
    connect(c.copyAction, &QAction::triggered, this, &MainWindow::copySelectedIcon);
    connect(c.iconList, &ListView::copyRequested, this, &MainWindow::copySelectedIcon);
    connect(c.closeButton, &QAbstractButton::clicked, this, &MainWindow::closeProgram);
    connect(c.minimiseButton, &QAbstractButton::clicked, this, &MainWindow::minimise);
    connect(c.helpButton, &QAbstractButton::clicked, this, &MainWindow::showAbout);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &MainWindow::stopHarvest);
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

void MainWindow::leaveOldSource() {
    if (m_harvesting && m_stop == Stop::None)
        m_stop = Stop::ForNewSource;
}

void MainWindow::chooseFileMode() {
    if (m_mode != Mode::File)
        leaveOldSource();
    m_mode = Mode::File;
    setPathBoxColour(m_controls.filePathBox, SystemColour::WindowBackground);
    setPathBoxColour(m_controls.folderPathBox, SystemColour::ActiveBorder);
    m_controls.folderPathBox->clear();
    m_controls.pickFileButton->setEnabled(true);
    m_controls.pickFolderButton->setEnabled(false);
}

void MainWindow::chooseFolderMode() {
    if (m_mode != Mode::Folder)
        leaveOldSource();
    m_mode = Mode::Folder;
    setPathBoxColour(m_controls.folderPathBox, SystemColour::WindowBackground);
    setPathBoxColour(m_controls.filePathBox, SystemColour::ActiveBorder);
    m_controls.filePathBox->clear();
    m_controls.pickFolderButton->setEnabled(true);
    m_controls.pickFileButton->setEnabled(false);
}

void MainWindow::clearListAndImages() {
    m_controls.iconList->setIcons(nullptr);
    m_controls.iconList->listItems().clear();
    m_controls.iconImages->listImages().clear();
    m_origins.clear();
}

std::uint32_t MainWindow::previewBackground() const {
    return m_controls.previewBox->backColor().rgb() & 0xFFFFFF;
}

TileIcon MainWindow::tile(int image) const {
    TileIcon tile;
    tile.cell = toSurface(m_controls.iconImages->listImages().item(image));
    tile.background = previewBackground();
    if (image >= 0 && static_cast<std::size_t>(image) < m_origins.size())
        tile.origin = m_origins[static_cast<std::size_t>(image)];
    return tile;
}

QString MainWindow::toolTipOf(int row) {
    const auto item = m_controls.iconList->listItems().item(row);
    if (!item)
        return {};
    return fromUtf8(tileToolTip(tile(item->image).origin, m_png));
}

void MainWindow::pickFile() {
    leaveOldSource();
    clearListAndImages();
    const auto chosen =
        m_dialogs.openFile(this, {qtText("Orvu Icon Extractor D2002 10 25"),
                                  {{QStringLiteral("(*.exe)"), QStringLiteral("*.exe")}},
                                  QDir::rootPath()});
    m_controls.filePathBox->setText(chosen ? chosen->trimmed() : QString());
    m_controls.startButton->setEnabled(true);
}

void MainWindow::pickFolder() {
    leaveOldSource();
    const auto chosen = m_dialogs.chooseFolder(
        this, qtText("Please choose the folder to extract icons from........"));
    m_controls.folderPathBox->setText(chosen.value_or(QString()));
    m_controls.startButton->setEnabled(true);
    clearListAndImages();
}

void MainWindow::start() {
    if (m_harvesting || m_saving) {
        // Pressed while the harvest of the old source yields: that one stops
        // first, and this one runs once it has.
        leaveOldSource();
        m_startAgain = true;
        return;
    }
    m_harvesting = true;
    do {
        m_startAgain = false;
        m_stop = Stop::None;
        MainWindowHarvest window(*this);
        const bool finished =
            StartCommand(window, m_folderKeys, m_png)
                .run(pathIn(m_controls.filePathBox), pathIn(m_controls.folderPathBox));
        if (!finished && m_stop == Stop::ByUser)
            m_controls.statusLine->setText(QString::fromUtf8(messages::stopped()));
        else if (!finished && m_stop == Stop::ForNewSource)
            m_controls.statusLine->setText(QString::fromUtf8(messages::idlePrompt()));
    } while (m_startAgain && !m_ending);
    m_harvesting = false;
    m_stop = Stop::None;
}

void MainWindow::stopHarvest() {
    if ((m_harvesting || m_saving) && m_stop == Stop::None)
        m_stop = Stop::ByUser;
}

void MainWindow::listPressed(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint position) {
    if (button != Qt::RightButton)
        return;
    // Saving many waits until no long job runs.
    const bool idle = !m_harvesting && !m_saving;
    const ListView* list = m_controls.iconList;
    m_controls.saveSelectedAction->setEnabled(idle && list->selectionModel()->hasSelection());
    m_controls.saveAllAction->setEnabled(idle && list->listItems().count() > 0);
    m_controls.copyAction->setEnabled(list->selectionModel()->hasSelection());
    m_controls.tileMenu->popup(list->viewport()->mapToGlobal(position));
}

void MainWindow::saveSelectedIcon() {
    const auto selected = m_controls.iconList->selectedItem();
    if (!selected) {
        m_dialogs.tell(this, QString::fromUtf8(messages::noTileSelected()));
        return;
    }
    QList<FileFilter> filters;
    for (const SaveFormat format : SaveFormats)
        filters << saveFilterOf(format);
    const auto chosen = m_dialogs.saveFile(this, {saveDialogTitle(), filters, saveFolder()});
    if (!chosen || chosen->path.isEmpty())
        return;
    const SaveFormat chosenFormat = SaveFormats[static_cast<std::size_t>(
        std::clamp(chosen->filter, 0, static_cast<int>(SaveFormats.size()) - 1))];
    const SaveTarget target = saveTarget(toPath(chosen->path), chosenFormat);
    // The dialog asked about the name it returned; a name that had no
    // extension of these gets one, and may then name another file.
    std::error_code error;
    if (target.path != toPath(chosen->path) && std::filesystem::exists(target.path, error) &&
        !m_dialogs.confirm(this, fromUtf8(messages::replaceExisting(target.path))))
        return;
    const TileIcon icon = tile(selected->image);
    const auto bytes = tileFileBytes(icon, target.format, m_png);
    if (!bytes) {
        m_dialogs.tell(this, fromUtf8(messages::cannotReadIcon(icon.origin, bytes.failure())));
        return;
    }
    if (const auto saved = replaceFileAtomically(target.path, bytes->bytes); !saved)
        m_dialogs.tell(this, fromUtf8(messages::cannotSave(target.path, saved.failure())));
    else if (!bytes->missing.empty() && icon.origin.file)
        m_dialogs.tell(this, fromUtf8(messages::incompleteIcon(*icon.origin.file, icon.origin.index,
                                                               bytes->missing.size())));
}

void MainWindow::showSelectedDetails() {
    const auto selected = m_controls.iconList->selectedItem();
    if (!selected) {
        m_dialogs.tell(this, QString::fromUtf8(messages::noTileSelected()));
        return;
    }
    const IconOrigin origin = tile(selected->image).origin;
    auto details = IconDetails::open(origin, m_png);
    if (!details) {
        m_dialogs.tell(this, fromUtf8(messages::cannotReadIcon(origin, details.failure())));
        return;
    }
    auto* window = new IconDetailsWindow(std::move(*details), m_dialogs, this);
    window->move(pos() + QPoint(24, 48));
    window->show();
}

std::vector<TileIcon> MainWindow::tilesAt(const QList<int>& rows) const {
    std::vector<TileIcon> tiles;
    tiles.reserve(static_cast<std::size_t>(rows.size()));
    for (int row : rows) {
        if (const auto item = m_controls.iconList->listItems().item(row))
            tiles.push_back(tile(item->image));
    }
    return tiles;
}

void MainWindow::saveSelectedIcons() {
    saveMany(m_controls.iconList->selectedRows());
}

void MainWindow::saveAllIcons() {
    QList<int> rows;
    for (int row = 0; row < m_controls.iconList->listItems().count(); ++row)
        rows.append(row);
    saveMany(rows);
}

void MainWindow::saveMany(const QList<int>& rows) {
    if (rows.isEmpty() || m_harvesting || m_saving)
        return;
    QStringList choices;
    for (const SaveFormat format : SaveManyFormats)
        choices << filterText(saveFilterOf(format));
    const auto chosen = m_dialogs.chooseFolderAnd(this, qtText("Save Icons to a Folder"),
                                                  qtText("Save as:"), choices);
    if (!chosen)
        return;
    const SaveFormat format = SaveManyFormats[static_cast<std::size_t>(
        std::clamp(chosen->choice, 0, static_cast<int>(SaveManyFormats.size()) - 1))];
    const std::filesystem::path folder = toPath(chosen->folder);
    // The tiles as they are now: a new harvest meanwhile doesn't change them.
    const std::vector<TileIcon> tiles = tilesAt(rows);
    ExistingFiles existing = ExistingFiles::KeepWithCounter;
    if (const std::size_t taken = existingNames(tiles, folder, format);
        taken > 0 && m_dialogs.confirm(this, fromUtf8(messages::replaceExistingFiles(taken))))
        existing = ExistingFiles::Replace;

    m_saving = true;
    m_stop = Stop::None;
    const QString status = m_controls.statusLine->text();
    MainWindowHarvest window(*this);
    const BatchOutcome outcome = exportTiles(window, tiles, folder, format, existing, m_png);
    m_saving = false;
    m_stop = Stop::None;
    if (m_ending)
        return;
    m_controls.statusLine->setText(status);
    std::string summary = messages::savedSummary(outcome.saved, outcome.failed, outcome.stopped);
    if (outcome.incomplete > 0)
        summary += "\n" + messages::incompleteIcons(outcome.incomplete);
    if (outcome.failed.empty() && !outcome.stopped && outcome.incomplete == 0)
        m_dialogs.inform(this, fromUtf8(summary));
    else
        m_dialogs.tell(this, fromUtf8(summary));
    if (m_startAgain) {
        m_startAgain = false;
        start();
    }
}

void MainWindow::copySelectedIcon() {
    const auto selected = m_controls.iconList->selectedItem();
    if (!selected)
        return;
    const TileIcon icon = tile(selected->image);
    const auto bytes = tileFileBytes(icon, SaveFormat::Png, m_png);
    if (!bytes) {
        m_dialogs.tell(this, fromUtf8(messages::cannotReadIcon(icon.origin, bytes.failure())));
        return;
    }
    const QByteArray png = toByteArray(bytes->bytes);
    // The largest image with its alpha, as a picture and as PNG data.
    auto* copied = new QMimeData;
    copied->setData(QStringLiteral("image/png"), png);
    copied->setImageData(QImage::fromData(png, "png"));
    QGuiApplication::clipboard()->setMimeData(copied);
}

QMimeData* MainWindow::dragDataFor(const QList<int>& rows) {
    if (!m_dragFolder)
        m_dragFolder = std::make_unique<QTemporaryDir>(
            QDir::temp().filePath(QStringLiteral("orvu-icons-drag-XXXXXX")));
    if (!m_dragFolder->isValid())
        return nullptr;
    const QString folder = m_dragFolder->filePath(QStringLiteral("drag-%1").arg(++m_drags));
    QDir().mkpath(folder);
    return new TileMimeData(tilesAt(rows), m_png, folder);
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
    leaveOldSource();
    const bool folder = source->mode == SourceChoice::Mode::Folder;
    (folder ? m_controls.folderModeOption : m_controls.fileModeOption)->click();
    clearListAndImages();
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

void MainWindow::closeProgram() {
    endProgram();
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

void MainWindow::titlePressed(QPoint globalPosition) {
    QWindow* window = windowHandle();
    if (window && window->startSystemMove())
        return;
    // The platform can't move it: follow the pointer until the button is released.
    m_dragOffset = globalPosition - pos();
    m_controls.titleLabel->grabMouse();
}

void MainWindow::endProgram() {
    if (m_ending)
        return;
    m_ending = true;
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
    endProgram();
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool mouseEvent = event->type() == QEvent::MouseButtonPress ||
                            event->type() == QEvent::MouseMove ||
                            event->type() == QEvent::MouseButtonRelease;
    if (watched != m_controls.titleLabel || !mouseEvent)
        return QWidget::eventFilter(watched, event);
    const QPoint pointer = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
    if (event->type() == QEvent::MouseButtonPress) {
        titlePressed(pointer);
        return true;
    }
    if (!m_dragOffset)
        return false;
    if (event->type() == QEvent::MouseMove) {
        move(pointer - *m_dragOffset);
    } else {
        m_dragOffset.reset();
        m_controls.titleLabel->releaseMouse();
    }
    return true;
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), designColour(WindowBackColour, palette()));
    painter.drawPixmap(0, 0, m_background);

    const QColor windowText = designColour(SystemColour::WindowText, palette());
    // The source panel: filled, outlined in the window-text colour.
    const QRect panel = twips(120, 600, 6135, 1455);
    painter.fillRect(panel, designColour(PanelColour, palette()));
    painter.setPen(QPen(windowText, 1));
    painter.drawRect(panel.adjusted(0, 0, -1, -1));
    // The title band: a 3-pixel outline inside its bounds.
    const QRect band = twips(120, 120, 6135, 375);
    paintTitleBand(painter, band);
    // The frame lines, centred on their coordinates and clipped by the window.
    const auto line = [&](int x1, int y1, int x2, int y2, int width) {
        painter.setPen(QPen(windowText, width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(x1 / double(TwipsPerPixel), y1 / double(TwipsPerPixel)),
                         QPointF(x2 / double(TwipsPerPixel), y2 / double(TwipsPerPixel)));
    };
    line(0, 0, 6600, 0, 4);
    line(0, 0, 0, 5400, 3);
    line(6360, 0, 6360, 5760, 3);
    line(0, 5400, 6480, 5400, 3);
}

} // namespace orvu
