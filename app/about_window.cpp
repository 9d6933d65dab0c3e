#include "app/about_window.h"

#include "app/system_colours.h"
#include "app/window_design.h"
#include "controls/skin.h"
#include "controls/title_button.h"
#include "harvest/about_window_layout.h"
#include "qt/qt_text.h"
#include "qt/task_bar.h"

#include <QEventLoop>
#include <QLabel>
#include <QPainter>
#include <QPointer>

namespace orvu {
namespace {

namespace layout = aboutWindowLayout;

} // namespace

AboutWindow::AboutWindow()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::Tool),
      m_background(QStringLiteral(":/background.bmp")) {
    setObjectName(QStringLiteral("aboutWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(productTitle());
    setWindowIcon(QIcon());
    setFont(designFont());
    setFixedSize(ClientSize);
    move(StartPosition);
    createControls();
    connect(m_controls.closeButton, &QAbstractButton::clicked, this, &QWidget::close);
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::createControls() {
    const QPalette& system = palette();
    const QColor windowText = designColour(layout::LineColour, system);
    Controls& c = m_controls;

    c.closeButton = new TitleButton(TitleButton::Kind::Close, this);
    c.closeButton->setObjectName(QStringLiteral("closeButton"));
    c.closeButton->setGeometry(toQRect(layout::CloseButton));

    c.titleLabel = designLabel(this, "titleLabel", productTitle(), toQPoint(layout::TitleLabel),
                               designColour(layout::TitleColour, system));
    c.authorLine = designLabel(this, "authorLine", qtText("Author: Orvu Studio"),
                               toQPoint(layout::AuthorLine), windowText);

    c.picture = new QLabel(this);
    c.picture->setObjectName(QStringLiteral("picture"));
    c.picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    c.picture->setScaledContents(false);
    c.picture->setPixmap(QPixmap(QStringLiteral(":/about.jpg")));
    c.picture->setGeometry(toQRect(layout::Picture));

    c.messengerLine = designLabel(this, "messengerLine", qtText("QQ: 10000"),
                                  toQPoint(layout::MessengerLine), windowText);
    c.mailLine = designLabel(this, "mailLine", qtText("E-mail: orvu@example.com"),
                             toQPoint(layout::MailLine), windowText);
    // The web-site line keeps the design's width whatever its text.
    c.webLine = designLabel(this, "webLine", qtText("Home page: www.example.com"),
                            toQPoint(layout::WebLine), windowText);
    c.webLine->resize(layout::WebLineWidth, c.webLine->height());

    // The labels and the picture are painted on the window's surface, under
    // the close button.
    for (QWidget* windowless :
         {c.webLine, c.mailLine, c.messengerLine, c.picture, c.authorLine, c.titleLabel}) {
        windowless->setAttribute(Qt::WA_TransparentForMouseEvents);
        windowless->lower();
    }
}

void AboutWindow::showModal() {
    const QPointer<AboutWindow> about = new AboutWindow;
    about->setWindowModality(Qt::ApplicationModal);
    QEventLoop wait;
    connect(about.data(), &QObject::destroyed, &wait, &QEventLoop::quit);
    about->show();
    wait.exec(QEventLoop::DialogExec);
    // The wait also ends when the program quits with the window still open.
    delete about.data();
}

void AboutWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    keepOffTaskBar(this);
}

void AboutWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);

    // The frame lines; the right one runs past the bottom and is clipped there.
    for (const design::Line& line : layout::FrameLines) {
        painter.setPen(QPen(designColour(SystemColour::WindowText, palette()), line.width));
        painter.drawLine(toQPoint(line.from), toQPoint(line.to));
    }
    // The title band, as on the main window.
    paintTitleBand(painter, toQRect(layout::TitleBand));
}

} // namespace orvu
