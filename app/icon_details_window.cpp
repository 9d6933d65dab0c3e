#include "app/icon_details_window.h"

#include "app/image_sheet.h"
#include "app/system_colours.h"
#include "app/window_design.h"
#include "controls/push_button.h"
#include "controls/skin.h"
#include "controls/title_button.h"
#include "controls/window_drag.h"
#include "harvest/details_window_layout.h"
#include "harvest/icon_save.h"
#include "harvest/messages.h"
#include "qt/qt_asker.h"
#include "qt/qt_bridge.h"
#include "qt/qt_text.h"
#include "qt/task_bar.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

namespace orvu {
namespace {

namespace layout = detailsWindowLayout;

// The window's width and least height; it is as much taller as its images
// need, as far as the screen has room.
constexpr QSize WindowSize = toQSize(layout::LeastSize);
constexpr int Checker = layout::CheckerSquare;

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
                             literalColour(light ? layout::CheckerLight : layout::CheckerDark));
        }
    }
    painter.drawImage(QRect(QPoint(0, 0), image.size()), image);
    return board;
}

// A small cross on the hotspot, `zoom` pixels of the picture a pixel of the
// image, dark on light so that it shows on any picture.
void drawHotspot(QPixmap& picture, const Hotspot& hotspot, int zoom = 1) {
    QPainter painter(&picture);
    const QPoint at(hotspot.x * zoom + zoom / 2, hotspot.y * zoom + zoom / 2);
    constexpr int Arm = 4;
    for (const auto& [colour, width] :
         {std::pair{QColor(255, 255, 255), 3}, {QColor(220, 0, 0), 1}}) {
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(at - QPoint(Arm, 0), at + QPoint(Arm, 0));
        painter.drawLine(at - QPoint(0, Arm), at + QPoint(0, Arm));
    }
}

// The text of the button that saves the whole icon, cursor or animated cursor.
QString saveWholeText(GroupKind kind) {
    switch (kind) {
    case GroupKind::Icon:
        break;
    case GroupKind::Cursor:
        return qtText("Save Whole Cursor (.cur)...");
    case GroupKind::Animated:
        return qtText("Save Animated Cursor (.ani)...");
    }
    return qtText("Save Whole Icon (.ico)...");
}

} // namespace

IconDetailsWindow::IconDetailsWindow(IconDetails details, Asker& asker, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint | Qt::Tool),
      m_details(std::move(details)), m_asker(asker),
      m_background(QStringLiteral(":/background.bmp")) {
    setObjectName(QStringLiteral("iconDetailsWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    const QString caption = qtText("Icon Properties");
    setWindowTitle(caption);
    setFont(designFont());

    m_close = new TitleButton(TitleButton::Kind::Close, this);
    m_close->setObjectName(QStringLiteral("closeButton"));
    m_close->setGeometry(toQRect(layout::CloseButton));
    connect(m_close, &QAbstractButton::clicked, this, &QWidget::close);

    auto* title = designLabel(this, "titleLabel", caption, toQPoint(layout::TitleLabel),
                              designColour(layout::TitleColour, palette()));
    title->setAttribute(Qt::WA_TransparentForMouseEvents);

    // An animation plays at the top right, the images start below it.
    const bool playing = m_details.stepCount() > 0;
    const int textWidth = layout::TextWidth - (playing ? layout::PlayerSide + layout::Margin : 0);
    const int imagesTop = playing ? layout::ImagesTopWithPlayer : layout::ImagesTop;
    auto* heading = new QLabel(fromUtf8(m_details.heading()), this);
    heading->setObjectName(QStringLiteral("heading"));
    heading->setGeometry(layout::Margin, layout::HeadingTop, textWidth, layout::TextLineHeight);
    auto* path = new QLabel(toDisplay(m_details.file()), this);
    path->setObjectName(QStringLiteral("filePath"));
    path->setGeometry(layout::Margin, layout::PathTop, textWidth, layout::TextLineHeight);
    path->setToolTip(path->text());
    if (playing) {
        m_player = new QLabel(this);
        m_player->setObjectName(QStringLiteral("player"));
        m_player->setGeometry(toQRect(layout::Player));
        m_playerHotspot = new QLabel(this);
        m_playerHotspot->setObjectName(QStringLiteral("playerHotspot"));
        m_playerHotspot->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_playerHotspot->setGeometry(layout::Margin, layout::PlayerHotspotTop, textWidth,
                                     layout::TextLineHeight);
        m_stepTimer = new QTimer(this);
        m_stepTimer->setSingleShot(true);
        connect(m_stepTimer, &QTimer::timeout, this, [this] {
            m_step = (m_step + 1) % m_details.stepCount();
            showStep();
        });
    }

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
        std::clamp(imagesTop + m_images->heightFor(layout::TextWidth) + layout::ImagesBottomGap,
                   WindowSize.height(), std::max(WindowSize.height(), room));
    setFixedSize(WindowSize.width(), height);
    m_images->setGeometry(layout::Margin, imagesTop, layout::TextWidth,
                          height - imagesTop - layout::ImagesBottomGap);
    // The light panel of the program's windows behind the pictures.
    QPalette panel = m_images->palette();
    panel.setColor(QPalette::Window, designColour(layout::ImagesBackColour, palette()));
    m_images->setPalette(panel);
    connect(m_images, &ImageSheet::saveRequested, this, &IconDetailsWindow::saveImage);

    m_saveIcon = new PushButton(saveWholeText(m_details.kind()), this);
    m_saveIcon->setObjectName(QStringLiteral("saveIconButton"));
    const QSize buttonSize = m_saveIcon->sizeHint();
    m_saveIcon->setGeometry(WindowSize.width() - layout::Margin - buttonSize.width(),
                            height - layout::Margin - buttonSize.height(), buttonSize.width(),
                            buttonSize.height());
    connect(m_saveIcon, &QAbstractButton::clicked, this, &IconDetailsWindow::saveIcon);

    // The title band moves the window, as the main window's title does.
    new WindowDrag(this, [](QPoint at) { return at.y() < layout::DragBandHeight; });
    QTimer::singleShot(0, this, &IconDetailsWindow::decodeNext);
    if (playing)
        showStep();
}

IconDetailsWindow::~IconDetailsWindow() = default;

void IconDetailsWindow::decodeNext() {
    if (m_next >= m_details.imageCount())
        return;
    const std::size_t i = m_next++;
    if (const auto bitmap = m_details.decode(i)) {
        QPixmap picture = onCheckerboard(toQImage(*bitmap), devicePixelRatioF());
        if (const auto& hotspot = m_details.description().images[i].hotspot)
            drawHotspot(picture, *hotspot);
        m_images->setPicture(i, picture);
    } else {
        m_images->setFailure(i, fromUtf8(messages::reason(bitmap.failure())));
    }
    QTimer::singleShot(0, this, &IconDetailsWindow::decodeNext);
}

void IconDetailsWindow::showStep() {
    if (const auto picture = m_details.stepPicture(m_step)) {
        const QImage image = toQImage(picture->bitmap);
        QPixmap shown =
            onCheckerboard(image.scaled(image.size() * layout::PlayerZoom), devicePixelRatioF());
        drawHotspot(shown, picture->hotspot, layout::PlayerZoom);
        m_player->setPixmap(shown);
        m_playerHotspot->setText(fromUtf8(messages::hotspotText(picture->hotspot)));
    }
    // A step stands at most a minute: a hostile rate can't freeze the player.
    const auto duration = std::min<std::chrono::milliseconds>(m_details.stepDuration(m_step),
                                                              std::chrono::minutes(1));
    if (m_details.stepCount() > 1)
        m_stepTimer->start(duration);
}

void IconDetailsWindow::closeEvent(QCloseEvent* event) {
    if (m_stepTimer)
        m_stepTimer->stop();
    QWidget::closeEvent(event);
}

void IconDetailsWindow::saveImage(std::size_t i) {
    saveWithAsker(m_asker, ownerOf(this), m_details.imageSubject(i));
}

void IconDetailsWindow::saveIcon() {
    saveWithAsker(m_asker, ownerOf(this), m_details.iconSubject());
}

void IconDetailsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    keepOffTaskBar(this);
}

void IconDetailsWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_background);
    paintTitleBand(painter, toQRect(layout::TitleBand));
    painter.setPen(QPen(designColour(SystemColour::WindowText, palette()), 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace orvu
