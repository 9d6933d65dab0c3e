#include "app/form1.h"

#include "app/design_font.h"
#include "qt/dialogs.h"
#include "app/form2.h"
#include "harvest/icon_export.h"
#include "controls/image_list.h"
#include "controls/list_view.h"
#include "app/main_window_harvest.h"
#include "app/picture_box.h"
#include "qt/qt_bridge.h"
#include "harvest/start_command.h"
#include "app/status_line.h"
#include "app/system_colours.h"
#include "qt/task_bar.h"
#include "app/tray_icon.h"
#include "app/window_design.h"
#include "controls/xp_command_button.h"
#include "controls/xp_option_button.h"
#include "controls/xp_title_buttons.h"
#include "controls/xp_title_help_button.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QWindow>

namespace orvu {
namespace {

constexpr std::uint32_t PanelColour = 0x00FFE1D0; // the source panel and the option buttons
constexpr std::uint32_t FormBackColour = 0x00FF8080;
constexpr int PreviewSize = 33;

const QString FilePickerTitle = QStringLiteral("Orvu图标提取器 D2002 10 25");
const QString FolderPickerTitle = QStringLiteral("请选择要提取图标的文件夹........");
const QString SaveTitle = QStringLiteral("保存文件为:...");
const QString NoTileSelected = QStringLiteral("请先选择一个图标");

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

Form1::Form1(Dialogs& dialogs, const PngDecoder* png, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::Tool), m_dialogs(dialogs),
      m_png(png), m_preview(Surface::filled(PreviewSize, PreviewSize, 0xFFFFFF)),
      m_background(QStringLiteral(":/background.bmp")) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString());
    setWindowIcon(QIcon(QStringLiteral(":/app.ico")));
    setFont(designFont());
    setFixedSize(ClientSize);
    move(StartPosition);
    trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    m_tray = new TrayIcon(windowIcon(), ProductTitle, this);
    connect(m_tray, &TrayIcon::showWindowRequested, this, &Form1::trayShowWindow);
    createControls();
    connectHandlers();
    setTabOrder();
}

Form1::~Form1() = default;

void Form1::createControls() {
    const QPalette& system = palette();
    const auto colour = [&](std::uint32_t value) { return designColour(value, system); };

    XPTitleHelpButton1 =
        place(new XPTitleHelpButton(this), "XPTitleHelpButton1", twips(5040, 120, 315, 315));
    XPTitleButtons2 = place(new XPTitleButtons(XPTitleButtons::kindFromValue(2), this),
                            "XPTitleButtons2", twips(5400, 120, 315, 315));
    XPTitleButtons1 = place(new XPTitleButtons(XPTitleButtons::Kind::Close, this),
                            "XPTitleButtons1", twips(5760, 120, 315, 315));

    Picture1 = place(new PictureBox(this), "Picture1", twips(2160, 1440, 495, 495));
    Picture1->setBackColor(colour(SystemColour::WindowBackground));
    m_preview = Surface::filled(PreviewSize, PreviewSize, Picture1->backColor().rgb() & 0xFFFFFF);
    Picture1->setImage(toQImage(m_preview));

    ImageList1 = new ImageList(this);
    ImageList1->setObjectName(QStringLiteral("ImageList1"));
    ImageList1->setImageWidth(32);
    ImageList1->setImageHeight(32);
    ImageList1->setMaskColor(colour(0x00C0C0C0));
    ImageList1->setBackColor(colour(SystemColour::WindowBackground));

    c2 = place(new XPOptionButton(QStringLiteral("请选择文件夹："), this), "c2",
               twips(600, 1080, 1455, 255));
    c2->setBackColor(colour(PanelColour));
    c1 = place(new XPOptionButton(QStringLiteral("请选择文件名："), this), "c1",
               twips(600, 720, 1455, 255));
    c1->setBackColor(colour(PanelColour));
    XPCommandButton3 = place(new XPCommandButton(QStringLiteral("开 始"), this), "XPCommandButton3",
                             twips(4200, 1560, 1335, 375));
    xp2 =
        place(new XPCommandButton(QStringLiteral("..."), this), "xp2", twips(5160, 1080, 375, 255));

    const auto pathBox = [&](const char* name, QRect area) {
        auto* box = place(new QLineEdit(this), name, area);
        box->setReadOnly(true);
        box->setFrame(false);
        box->setAutoFillBackground(true);
        setPathBoxColour(box, SystemColour::ActiveBorder);
        return box;
    };
    Text2 = pathBox("Text2", twips(2160, 1080, 2895, 270));
    xp1 = place(new XPCommandButton(QStringLiteral("....."), this), "xp1",
                twips(5160, 720, 375, 255));
    Text1 = pathBox("Text1", twips(2160, 720, 2895, 270));

    ListView1 = place(new ListView(this), "ListView1", twips(120, 2160, 6135, 2895));
    QPalette listPalette = ListView1->palette();
    listPalette.setColor(QPalette::Text, colour(SystemColour::WindowText));
    listPalette.setColor(QPalette::Base, colour(SystemColour::WindowBackground));
    ListView1->setPalette(listPalette);
    ListView1->setIcons(ImageList1);

    Label2 = designLabel(this, "Label2", ProductTitle, twips(240, 240, 0, 0).topLeft(),
                         colour(SystemColour::HighlightText));
    Label2->installEventFilter(this);
    Label3 = designLabel(this, "Label3", QStringLiteral("提取状态预览："),
                         twips(840, 1680, 0, 0).topLeft(), colour(SystemColour::WindowText));
    Label3->setAttribute(Qt::WA_TransparentForMouseEvents);
    // The status line shows paths of any length: it spans the rest of its row.
    Label1 = new StatusLine(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QPalette statusColours = Label1->palette();
    statusColours.setColor(QPalette::WindowText, colour(SystemColour::HighlightText));
    Label1->setPalette(statusColours);
    Label1->setText(QStringLiteral("点击“开始”提取图标"));
    const QPoint statusAt = twips(360, 5160, 0, 0).topLeft();
    Label1->setGeometry(statusAt.x(), statusAt.y(), ClientSize.width() - statusAt.x(),
                        Label1->sizeHint().height());
    // Labels paint on the window's surface, under every windowed control.
    Label1->lower();
    for (QLabel* label : {Label2, Label3})
        label->lower();

    wdddd = new QMenu(QStringLiteral("wddd"), this);
    wdddd->setObjectName(QStringLiteral("wdddd"));
    wddw = wdddd->addAction(QStringLiteral("图标另存为"));
    wddw->setObjectName(QStringLiteral("wddw"));
}

void Form1::connectHandlers() {
    connect(c1, &QAbstractButton::clicked, this, &Form1::c1Click);
    connect(c2, &QAbstractButton::clicked, this, &Form1::c2Click);
    connect(xp1, &QAbstractButton::clicked, this, &Form1::xp1Click);
    connect(xp2, &QAbstractButton::clicked, this, &Form1::xp2Click);
    connect(XPCommandButton3, &QAbstractButton::clicked, this, &Form1::XPCommandButton3Click);
    connect(ListView1, &ListView::mouseDown, this, &Form1::ListView1MouseDown);
    connect(wddw, &QAction::triggered, this, &Form1::wddwClick);
    connect(XPTitleButtons1, &QAbstractButton::clicked, this, &Form1::XPTitleButtons1Click);
    connect(XPTitleButtons2, &QAbstractButton::clicked, this, &Form1::XPTitleButtons2Click);
    connect(XPTitleHelpButton1, &QAbstractButton::clicked, this, &Form1::XPTitleHelpButton1Click);
}

void Form1::setTabOrder() {
    for (QWidget* untabbed :
         {static_cast<QWidget*>(XPTitleHelpButton1), static_cast<QWidget*>(XPTitleButtons1),
          static_cast<QWidget*>(XPTitleButtons2)})
        untabbed->setFocusPolicy(Qt::NoFocus);
    Picture1->setFocusPolicy(Qt::TabFocus);
    const QList<QWidget*> order{ListView1,        c1,      Text1, xp1, c2, Text2, xp2,
                                XPCommandButton3, Picture1};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    ListView1->setFocus();
}

bool Form1::load() {
    xp1->setEnabled(false);
    xp2->setEnabled(false);
    XPCommandButton3->setEnabled(false);
    if (onLoad && !onLoad())
        return false;
    m_tray->add();
    ListView1->setFocus();
    return true;
}

void Form1::setPathBoxColour(QLineEdit* box, std::uint32_t value) {
    QPalette colours = box->palette();
    const QColor background = designColour(value, palette());
    colours.setColor(QPalette::Base, background);
    colours.setColor(QPalette::Window, background);
    box->setPalette(colours);
}

void Form1::c1Click() {
    setPathBoxColour(Text1, SystemColour::WindowBackground);
    setPathBoxColour(Text2, SystemColour::ActiveBorder);
    Text2->clear();
    xp1->setEnabled(true);
    xp2->setEnabled(false);
}

void Form1::c2Click() {
    setPathBoxColour(Text2, SystemColour::WindowBackground);
    setPathBoxColour(Text1, SystemColour::ActiveBorder);
    Text1->clear();
    xp2->setEnabled(true);
    xp1->setEnabled(false);
}

void Form1::clearListAndImages() {
    ListView1->setIcons(nullptr);
    ListView1->listItems().clear();
    ImageList1->listImages().clear();
}

void Form1::xp1Click() {
    clearListAndImages();
    const auto chosen =
        m_dialogs.openFile(this, {FilePickerTitle, QStringLiteral("(*.exe)"),
                                  QStringLiteral("*.exe"), QDir::rootPath(), QString()});
    Text1->setText(chosen ? chosen->trimmed() : QString());
    XPCommandButton3->setEnabled(true);
}

void Form1::xp2Click() {
    const auto chosen = m_dialogs.chooseFolder(this, FolderPickerTitle);
    Text2->setText(chosen.value_or(QString()));
    XPCommandButton3->setEnabled(true);
    clearListAndImages();
}

void Form1::XPCommandButton3Click() {
    MainWindowHarvest window(*this);
    StartCommand(window, m_counters, m_png).run(toPath(Text1->text()), toPath(Text2->text()));
}

void Form1::ListView1MouseDown(int button, Qt::KeyboardModifiers, QPoint position) {
    constexpr int RightButton = 2;
    if (button == RightButton)
        wdddd->popup(ListView1->viewport()->mapToGlobal(position));
}

void Form1::wddwClick() {
    const auto selected = ListView1->selectedItem();
    if (!selected) {
        m_dialogs.tell(this, NoTileSelected);
        return;
    }
    const auto path =
        m_dialogs.saveFile(this, {SaveTitle, QStringLiteral("图标文件"), QStringLiteral("*.ico"),
                                  saveFolder(), QStringLiteral("TXT")});
    if (!path || path->isEmpty())
        return;
    const QImage picture = ImageList1->listImages().item(selected->icon);
    if (picture.isNull()) {
        m_dialogs.tell(this, NoTileSelected);
        return;
    }
    if (const auto error = savePicture(toSurface(picture), toPath(*path)))
        m_dialogs.tell(this, QStringLiteral("无法保存文件“%1”：%2").arg(*path, fromUtf8(*error)));
}

void Form1::XPTitleButtons1Click() {
    endProgram();
}

void Form1::XPTitleButtons2Click() {
    if (trayAvailable && trayAvailable())
        hide();
    else
        minimiseToTaskBar();
}

void Form1::XPTitleHelpButton1Click() {
    // The about window, modal and with no owner: this window takes no input
    // until it is closed.
    Form2::showModal();
}

void Form1::minimiseToTaskBar() {
    // Without a notification area a hidden window could never come back, so
    // the window takes a task-bar button and stays there minimised.
    if (windowType() == Qt::Tool) {
        setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Window);
        show();
    }
    showMinimized();
}

void Form1::trayShowWindow() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void Form1::Label2MouseDown(QPoint globalPosition) {
    QWindow* window = windowHandle();
    if (window && window->startSystemMove())
        return;
    // The platform can't move it: follow the pointer until the button is released.
    m_dragOffset = globalPosition - pos();
    Label2->grabMouse();
}

void Form1::endProgram() {
    if (m_ending)
        return;
    m_ending = true;
    m_tray->remove();
    hide();
    if (onEndProgram)
        onEndProgram();
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (windowType() == Qt::Tool)
        keepOffTaskBar(this);
}

void Form1::closeEvent(QCloseEvent* event) {
    endProgram();
    event->accept();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    const bool mouseEvent = event->type() == QEvent::MouseButtonPress ||
                            event->type() == QEvent::MouseMove ||
                            event->type() == QEvent::MouseButtonRelease;
    if (watched != Label2 || !mouseEvent)
        return QWidget::eventFilter(watched, event);
    const QPoint pointer = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
    if (event->type() == QEvent::MouseButtonPress) {
        Label2MouseDown(pointer);
        return true;
    }
    if (!m_dragOffset)
        return false;
    if (event->type() == QEvent::MouseMove) {
        move(pointer - *m_dragOffset);
    } else {
        m_dragOffset.reset();
        Label2->releaseMouse();
    }
    return true;
}

void Form1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), designColour(FormBackColour, palette()));
    painter.drawPixmap(0, 0, m_background);

    const QColor windowText = designColour(SystemColour::WindowText, palette());
    // Shape2, the source panel: filled, outlined in the window-text colour.
    const QRect panel = twips(120, 600, 6135, 1455);
    painter.fillRect(panel, designColour(PanelColour, palette()));
    painter.setPen(QPen(windowText, 1));
    painter.drawRect(panel.adjusted(0, 0, -1, -1));
    // Shape1, the title band: a 3-pixel outline inside its bounds.
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
