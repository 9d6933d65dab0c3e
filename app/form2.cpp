#include "app/form2.h"

#include "app/design_font.h"
#include "app/system_colours.h"
#include "qt/task_bar.h"
#include "app/window_design.h"
#include "controls/xp_title_buttons.h"

#include <QEventLoop>
#include <QLabel>
#include <QPainter>
#include <QPointer>

namespace orvu {
namespace {

const QString AuthorLine = QStringLiteral("作者：Orvu 工作室");
const QString MessengerLine = QStringLiteral("QQ：10000");
const QString MailLine = QStringLiteral("E-mail：orvu@example.com");
const QString WebLine = QStringLiteral("主页：www.example.com");

} // namespace

Form2::Form2()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::Tool),
      m_background(QStringLiteral(":/background.bmp")) {
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Form2"));
    setWindowIcon(QIcon());
    setFont(designFont());
    setFixedSize(ClientSize);
    move(StartPosition);
    createControls();
    connect(XPTitleButtons1, &QAbstractButton::clicked, this, &Form2::XPTitleButtons1Click);
}

Form2::~Form2() = default;

void Form2::createControls() {
    const QPalette& system = palette();
    const QColor windowText = designColour(SystemColour::WindowText, system);

    XPTitleButtons1 = new XPTitleButtons(XPTitleButtons::Kind::Close, this);
    XPTitleButtons1->setObjectName(QStringLiteral("XPTitleButtons1"));
    XPTitleButtons1->setGeometry(twips(4440, 120, 315, 315));
    XPTitleButtons1->setFocusPolicy(Qt::NoFocus);

    Label2[1] = designLabel(this, "Label2_1", ProductTitle, twips(240, 240),
                            designColour(SystemColour::HighlightText, system));
    Label1 = designLabel(this, "Label1", AuthorLine, twips(2040, 960), windowText);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setScaledContents(false);
    Image1->setPixmap(QPixmap(QStringLiteral(":/about.jpg")));
    Image1->setGeometry(twips(240, 720, 1500, 1950));

    Label2[0] = designLabel(this, "Label2_0", MessengerLine, twips(2040, 1440), windowText);
    Label3 = designLabel(this, "Label3", MailLine, twips(2040, 1920), windowText);
    // The web-site line keeps the design's width whatever its text.
    Label4 = designLabel(this, "Label4", WebLine, twips(2040, 2520), windowText);
    Label4->resize(twips(0, 0, 2610, 0).width(), Label4->height());

    // The labels and the picture are painted on the window's surface, under
    // the close button.
    for (QWidget* windowless : {Label4, Label3, Label2[0], Image1, Label1, Label2[1]}) {
        windowless->setAttribute(Qt::WA_TransparentForMouseEvents);
        windowless->lower();
    }
}

void Form2::XPTitleButtons1Click() {
    close();
}

void Form2::showModal() {
    const QPointer<Form2> about = new Form2;
    about->setWindowModality(Qt::ApplicationModal);
    QEventLoop wait;
    connect(about.data(), &QObject::destroyed, &wait, &QEventLoop::quit);
    about->show();
    wait.exec(QEventLoop::DialogExec);
    // The wait also ends when the program quits with the window still open.
    delete about.data();
}

void Form2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    keepOffTaskBar(this);
}

void Form2::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);

    // The frame lines, 1 pixel wide in the window-text colour; the right one
    // runs past the bottom and is clipped there.
    painter.setPen(QPen(designColour(SystemColour::WindowText, palette()), 1));
    const auto line = [&](int x1, int y1, int x2, int y2) {
        painter.drawLine(twips(x1, y1), twips(x2, y2));
    };
    line(0, 0, 5040, 0);       // Line4, top
    line(0, 0, 0, 2880);       // Line3, left
    line(5040, 2880, 0, 2880); // Line2, bottom
    line(5040, 0, 5040, 3240); // Line1, right

    // Shape1, the title band: a 3-pixel outline inside its bounds, as on the
    // main window.
    const QRect band = twips(120, 120, 4815, 375);
    paintTitleBand(painter, band);
}

} // namespace orvu
