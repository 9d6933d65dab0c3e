#include "app/about_window.h"

#include "app/system_colours.h"
#include "app/window_design.h"
#include "controls/skin.h"
#include "controls/title_button.h"
#include "qt/qt_text.h"
#include "qt/task_bar.h"

#include <QEventLoop>
#include <QLabel>
#include <QPainter>
#include <QPointer>

namespace orvu {

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
    const QColor windowText = designColour(SystemColour::WindowText, system);
    Controls& c = m_controls;

    c.closeButton = new TitleButton(TitleButton::Kind::Close, this);
    c.closeButton->setObjectName(QStringLiteral("closeButton"));
    c.closeButton->setGeometry(twips(4440, 120, 315, 315));

    c.titleLabel = designLabel(this, "titleLabel", productTitle(), twips(240, 240),
                               designColour(SystemColour::HighlightText, system));
    c.authorLine = designLabel(this, "authorLine", qtText("Author: Orvu Studio"), twips(2040, 960),
                               windowText);

    c.picture = new QLabel(this);
    c.picture->setObjectName(QStringLiteral("picture"));
    c.picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    c.picture->setScaledContents(false);
    c.picture->setPixmap(QPixmap(QStringLiteral(":/about.jpg")));
    c.picture->setGeometry(twips(240, 720, 1500, 1950));

    c.messengerLine =
        designLabel(this, "messengerLine", qtText("QQ: 10000"), twips(2040, 1440), windowText);
    c.mailLine = designLabel(this, "mailLine", qtText("E-mail: orvu@example.com"),
                             twips(2040, 1920), windowText);
    // The web-site line keeps the design's width whatever its text.
    c.webLine = designLabel(this, "webLine", qtText("Home page: www.example.com"),
                            twips(2040, 2520), windowText);
    c.webLine->resize(twips(0, 0, 2610, 0).width(), c.webLine->height());

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

    // The frame lines, 1 pixel wide in the window-text colour; the right one
    // runs past the bottom and is clipped there.
    painter.setPen(QPen(designColour(SystemColour::WindowText, palette()), 1));
    const auto line = [&](int x1, int y1, int x2, int y2) {
        painter.drawLine(twips(x1, y1), twips(x2, y2));
    };
    line(0, 0, 5040, 0);       // top
    line(0, 0, 0, 2880);       // left
    line(5040, 2880, 0, 2880); // bottom
    line(5040, 0, 5040, 3240); // right

    // The title band: a 3-pixel outline inside its bounds, as on the main window.
    const QRect band = twips(120, 120, 4815, 375);
    paintTitleBand(painter, band);
}

} // namespace orvu
