#include "app/icon_details_window.h"

#include "app/image_sheet.h"
#include "app/save_dialog.h"
#include "app/system_colours.h"
#include "app/window_design.h"
#include "controls/push_button.h"
#include "controls/skin.h"
#include "controls/title_button.h"
#include "controls/window_drag.h"
#include "harvest/messages.h"
#include "qt/dialogs.h"
#include "qt/qt_bridge.h"
#include "qt/qt_text.h"
#include "qt/task_bar.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace orvu {
namespace {

// The window's width and least height; it is as much taller as its images
// need, as far as the screen has room.
constexpr QSize WindowSize{760, 420};
constexpr int TitleBandHeight = 29;
constexpr int Checker = 8; // pixels a checkerboard square

// The picture over a light checkerboard, which shows what is transparent,
// for a screen of `ratio` device pixels a pixel.
QPixmap onCheckerboard(const QImage& image, qreal ratio) {
    QPixmap board(image.size() * ratio);
    board.setDevicePixelRatio(ratio);
    QPainter painter(&board);
    // Whole multiples keep each pixel square and sharp.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, ratio != std::floor(ratio));
    for (int y = 0; y < image.height(); y += Checker) {
        for (int x = 0; x < image.width(); x += Checker) {
            const bool light = (x / Checker + y / Checker) % 2 == 0;
            painter.fillRect(x, y, Checker, Checker,
                             light ? QColor(255, 255, 255) : QColor(220, 220, 220));
        }
    }
    painter.drawImage(QRect(QPoint(0, 0), image.size()), image);
    return board;
}

} // namespace

IconDetailsWindow::IconDetailsWindow(IconDetails details, Dialogs& dialogs, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint | Qt::Tool),
      m_details(std::move(details)), m_dialogs(dialogs),
      m_background(QStringLiteral(":/background.bmp")) {
    setObjectName(QStringLiteral("iconDetailsWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    const QString caption = qtText("Icon Properties");
    setWindowTitle(caption);
    setFont(designFont());

    m_close = new TitleButton(TitleButton::Kind::Close, this);
    m_close->setObjectName(QStringLiteral("closeButton"));
    m_close->setGeometry(WindowSize.width() - 29, 8, 21, 21);
    connect(m_close, &QAbstractButton::clicked, this, &QWidget::close);

    auto* title = designLabel(this, "titleLabel", caption, QPoint(16, 16),
                              designColour(SystemColour::HighlightText, palette()));
    title->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* heading = new QLabel(fromUtf8(m_details.heading()), this);
    heading->setObjectName(QStringLiteral("heading"));
    heading->setGeometry(16, TitleBandHeight + 16, WindowSize.width() - 32, 18);
    auto* path = new QLabel(toDisplay(m_details.file()), this);
    path->setObjectName(QStringLiteral("filePath"));
    path->setGeometry(16, TitleBandHeight + 36, WindowSize.width() - 32, 18);
    path->setToolTip(path->text());

    std::vector<QString> labels;
    labels.reserve(m_details.imageCount());
    for (std::size_t i = 0; i < m_details.imageCount(); ++i)
        labels.push_back(fromUtf8(m_details.imageLabel(i)));
    m_images = new ImageSheet(m_details.description().images, std::move(labels),
                              qtText("Save as PNG..."), this);
    m_images->setObjectName(QStringLiteral("images"));
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().height() - 16 : WindowSize.height();
    const int height =
        std::clamp(TitleBandHeight + 60 + m_images->heightFor(WindowSize.width() - 32) + 48,
                   WindowSize.height(), std::max(WindowSize.height(), room));
    setFixedSize(WindowSize.width(), height);
    m_images->setGeometry(16, TitleBandHeight + 60, WindowSize.width() - 32,
                          height - TitleBandHeight - 60 - 48);
    // The light panel of the program's windows behind the pictures.
    QPalette panel = m_images->palette();
    panel.setColor(QPalette::Window, designColour(PanelColour, palette()));
    m_images->setPalette(panel);
    connect(m_images, &ImageSheet::saveRequested, this, &IconDetailsWindow::saveImage);

    m_saveIcon = new PushButton(qtText("Save Whole Icon (.ico)..."), this);
    m_saveIcon->setObjectName(QStringLiteral("saveIconButton"));
    const QSize buttonSize = m_saveIcon->sizeHint();
    m_saveIcon->setGeometry(WindowSize.width() - 16 - buttonSize.width(),
                            height - 16 - buttonSize.height(), buttonSize.width(),
                            buttonSize.height());
    connect(m_saveIcon, &QAbstractButton::clicked, this, &IconDetailsWindow::saveIcon);

    // The title band moves the window, as the main window's title does.
    new WindowDrag(this, [](QPoint at) { return at.y() < TitleBandHeight + 8; });
    QTimer::singleShot(0, this, &IconDetailsWindow::decodeNext);
}

IconDetailsWindow::~IconDetailsWindow() = default;

void IconDetailsWindow::decodeNext() {
    if (m_next >= m_details.imageCount())
        return;
    const std::size_t i = m_next++;
    if (const auto bitmap = m_details.decode(i))
        m_images->setPicture(i, onCheckerboard(toQImage(*bitmap), devicePixelRatioF()));
    else
        m_images->setFailure(i, fromUtf8(messages::reason(bitmap.failure())));
    QTimer::singleShot(0, this, &IconDetailsWindow::decodeNext);
}

void IconDetailsWindow::saveImage(std::size_t i) {
    saveThroughDialog(this, m_dialogs, m_details.imageSubject(i));
}

void IconDetailsWindow::saveIcon() {
    saveThroughDialog(this, m_dialogs, m_details.iconSubject());
}

void IconDetailsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    keepOffTaskBar(this);
}

void IconDetailsWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_background);
    paintTitleBand(painter, QRect(8, 8, width() - 16, TitleBandHeight - 4));
    painter.setPen(QPen(designColour(SystemColour::WindowText, palette()), 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace orvu
