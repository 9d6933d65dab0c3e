// The about window as a user meets it: opened by the main window's help
// button, modal, always at the same place, closed (and gone) by its close
// button, with its texts and picture whole.

#include "app/about_window.h"
#include "app/main_window.h"
#include "app/system_colours.h"
#include "controls/help_button.h"
#include "controls/option_button.h"
#include "controls/title_button.h"
#include "support/scripted_asker.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace orvu {
namespace {

namespace fs = std::filesystem;

constexpr int WaitMs = 10000;
const QPoint AboutPlace{229, 150};
const QSize AboutSize{338, 194};

QList<AboutWindow*> openAboutWindows() {
    QList<AboutWindow*> open;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* about = qobject_cast<AboutWindow*>(window))
            open << about;
    return open;
}

// A click as the window system delivers it, so that modality applies.
void clickThroughWindow(QWidget* control, QPoint at = {}) {
    QWidget* window = control->window();
    const QPoint inControl = at.isNull() ? control->rect().center() : at;
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      control->mapTo(window, inControl));
}

class AboutWindowTest : public ::testing::Test {
protected:
    AboutWindowTest() : form(asker, nullptr) {
        form.onEndProgram = [] {};
        EXPECT_TRUE(form.load());
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
    }

    ~AboutWindowTest() override {
        for (AboutWindow* left : openAboutWindows())
            delete left;
    }

    // Clicks the help button and runs `whileOpen` on the about window it
    // opens. Returns when the help button's handler has returned; true if
    // that happened without the test's own rescue closing a window that
    // `whileOpen` left open.
    bool openAbout(const std::function<void(AboutWindow&)>& whileOpen) {
        bool ran = false;
        bool rescued = false;
        QTimer opener;
        opener.setSingleShot(true);
        QObject::connect(&opener, &QTimer::timeout, [&] {
            ran = true;
            auto* about = qobject_cast<AboutWindow*>(QApplication::activeModalWidget());
            if (!about) {
                ADD_FAILURE() << "no modal about window";
                return;
            }
            (void)QTest::qWaitForWindowExposed(about);
            whileOpen(*about);
        });
        QTimer rescue;
        rescue.setSingleShot(true);
        QObject::connect(&rescue, &QTimer::timeout, [&] {
            rescued = true;
            for (AboutWindow* about : openAboutWindows())
                about->deleteLater();
        });
        opener.start(0);
        rescue.start(WaitMs);
        clickThroughWindow(form.controls().helpButton);
        EXPECT_TRUE(ran) << "the help button returned before its window could be seen";
        return ran && !rescued;
    }

    test::ScriptedAsker asker;
    MainWindow form;
};

TEST_F(AboutWindowTest, opensAtItsOwnPlaceEachTimeWhereverTheMainWindowIs) {
    form.move(500, 400);
    ASSERT_TRUE(openAbout([](AboutWindow& about) {
        EXPECT_EQ(about.geometry(), QRect(AboutPlace, AboutSize));
        EXPECT_EQ(about.frameGeometry(), about.geometry());
        EXPECT_EQ(about.minimumSize(), about.maximumSize());
        EXPECT_EQ(about.parentWidget(), nullptr);
        // Borderless, and a tool window: no task-bar button.
        EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(about.windowType(), Qt::Tool);
        // Whatever happens to this one, the next starts from the design.
        about.move(0, 0);
        about.controls().authorLine->setText(QStringLiteral("changed"));
        clickThroughWindow(about.controls().closeButton);
    }));
    form.move(20, 300);
    QString author;
    ASSERT_TRUE(openAbout([&](AboutWindow& about) {
        EXPECT_EQ(about.geometry(), QRect(AboutPlace, AboutSize));
        author = about.controls().authorLine->text();
        clickThroughWindow(about.controls().closeButton);
    }));
    EXPECT_NE(author, QStringLiteral("changed"));
    EXPECT_FALSE(author.isEmpty());
    EXPECT_EQ(form.pos(), QPoint(20, 300));
}

TEST_F(AboutWindowTest, theMainWindowTakesNoInputWhileItIsOpen) {
    ASSERT_TRUE(openAbout([&](AboutWindow& about) {
        EXPECT_EQ(QApplication::activeModalWidget(), &about);
        clickThroughWindow(form.controls().fileModeOption);
        EXPECT_FALSE(form.controls().fileModeOption->isChecked());
        clickThroughWindow(form.controls().helpButton);
        EXPECT_EQ(openAboutWindows().size(), 1);
        clickThroughWindow(about.controls().closeButton);
    }));
    // Closed, it gives the input back: the same click now selects the mode.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    clickThroughWindow(form.controls().fileModeOption);
    EXPECT_TRUE(form.controls().fileModeOption->isChecked());
}

TEST_F(AboutWindowTest, itsCloseButtonDestroysItAndTheHelpButtonReturns) {
    QPointer<AboutWindow> shown;
    EXPECT_TRUE(openAbout([&](AboutWindow& about) {
        shown = &about;
        clickThroughWindow(about.controls().closeButton);
    }));
    EXPECT_TRUE(shown.isNull());
    EXPECT_TRUE(openAboutWindows().isEmpty());
    EXPECT_TRUE(form.isVisible());
}

TEST_F(AboutWindowTest, onlyItsCloseButtonRespondsToTheMouse) {
    ASSERT_TRUE(openAbout([](AboutWindow& about) {
        const QList<QWidget*> deaf{about.controls().titleLabel, about.controls().authorLine,
                                   about.controls().picture,    about.controls().messengerLine,
                                   about.controls().mailLine,   about.controls().webLine};
        for (QWidget* control : deaf) {
            clickThroughWindow(control);
            QTest::mouseDClick(about.windowHandle(), Qt::LeftButton, {},
                               control->geometry().center());
        }
        // The window's own surface, and a drag on the title.
        clickThroughWindow(&about, QPoint(320, 180));
        QWindow* window = about.windowHandle();
        const QPoint title = about.controls().titleLabel->geometry().center();
        QTest::mousePress(window, Qt::LeftButton, {}, title);
        QTest::mouseMove(window, title + QPoint(60, 40));
        QTest::mouseRelease(window, Qt::LeftButton, {}, title + QPoint(60, 40));
        EXPECT_TRUE(about.isVisible());
        EXPECT_EQ(about.pos(), AboutPlace);
        EXPECT_EQ(openAboutWindows().size(), 1);
        clickThroughWindow(about.controls().closeButton);
    }));
}

// The window built on its own, for its look.
class AboutLook : public ::testing::Test {
protected:
    AboutLook() : about(std::make_unique<AboutWindow>()) {
        about->show();
        (void)QTest::qWaitForWindowExposed(about.get());
        shot = about->grab().toImage();
    }

    std::unique_ptr<AboutWindow> about;
    QImage shot;
};

TEST_F(AboutLook, controlsSitWhereTheDesignPutsThem) {
    EXPECT_EQ(about->controls().closeButton->geometry(), QRect(296, 8, 21, 21));
    EXPECT_EQ(about->controls().closeButton->kind(), TitleButton::Kind::Close);
    EXPECT_EQ(about->controls().titleLabel->pos(), QPoint(16, 16));
    EXPECT_EQ(about->controls().authorLine->pos(), QPoint(136, 64));
    EXPECT_EQ(about->controls().messengerLine->pos(), QPoint(136, 96));
    EXPECT_EQ(about->controls().mailLine->pos(), QPoint(136, 128));
    EXPECT_EQ(about->controls().webLine->pos(), QPoint(136, 168));
    EXPECT_EQ(about->controls().webLine->width(), 174);
    EXPECT_EQ(about->controls().picture->geometry(), QRect(16, 48, 100, 130));
    EXPECT_EQ(about->controls().titleLabel->text(), QStringLiteral("Orvu图标提取机 D2002.10.27"));
}

TEST_F(AboutLook, everyLineIsShownWholeInsideTheFrame) {
    const QRect insideFrame(1, 1, 335, 191);
    for (const QLabel* label :
         {about->controls().titleLabel, about->controls().authorLine,
          about->controls().messengerLine, about->controls().mailLine, about->controls().webLine}) {
        const QString name = label->objectName();
        EXPECT_FALSE(label->text().isEmpty()) << name.toStdString();
        const QFontMetrics metrics(label->font());
        EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text())) << name.toStdString();
        EXPECT_GE(label->height(), metrics.height()) << name.toStdString();
        EXPECT_TRUE(insideFrame.contains(label->geometry())) << name.toStdString();
        // Nothing covers it but the window's surface.
        EXPECT_FALSE(label->geometry().intersects(about->controls().picture->geometry()))
            << name.toStdString();
        EXPECT_FALSE(label->geometry().intersects(about->controls().closeButton->geometry()))
            << name.toStdString();
    }
    const QFontMetrics metrics(about->font());
    if (metrics.horizontalAdvance(QStringLiteral("图")) != 12 ||
        metrics.horizontalAdvance('D') != 6)
        ADD_FAILURE() << "the design's face is missing: install fonts-wqy-zenhei";
}

TEST_F(AboutLook, theTitleIsInTheHighlightTextColourAndTheRestInTheWindowText) {
    const auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) <= 48 && std::abs(a.green() - b.green()) <= 48 &&
               std::abs(a.blue() - b.blue()) <= 48;
    };
    const auto extreme = [&](const QRect& area, bool brightest) {
        QColor found = shot.pixelColor(area.topLeft());
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor colour = shot.pixelColor(x, y);
                if ((colour.lightness() > found.lightness()) == brightest)
                    found = colour;
            }
        return found;
    };
    // The title's strokes are the lightest thing on the dark title band
    // (inside the band's outline); the author lines' the darkest on the
    // light body.
    const QRect insideBand(11, 11, 315, 19);
    const QRect title = about->controls().titleLabel->geometry() & insideBand;
    ASSERT_FALSE(title.isEmpty());
    EXPECT_TRUE(
        near(extreme(title, true), designColour(SystemColour::HighlightText, about->palette())));
    for (const QLabel* line : {about->controls().authorLine, about->controls().messengerLine,
                               about->controls().mailLine, about->controls().webLine})
        EXPECT_TRUE(near(extreme(line->geometry(), false),
                         designColour(SystemColour::WindowText, about->palette())))
            << line->objectName().toStdString();
}

TEST_F(AboutLook, thePictureIsShownPixelForPixel) {
    QImage picture(QStringLiteral(":/about.jpg"));
    ASSERT_EQ(picture.size(), QSize(100, 130));
    picture = picture.convertToFormat(shot.format());
    EXPECT_EQ(shot.copy(QRect(QPoint(16, 48), picture.size())), picture);
}

TEST_F(AboutLook, aOnePixelFrameInTheWindowTextColour) {
    const QRgb frame = designColour(SystemColour::WindowText, about->palette()).rgb();
    for (const QPoint on : {QPoint(168, 0), QPoint(0, 97), QPoint(168, 192), QPoint(336, 97),
                            QPoint(336, 193), QPoint(0, 0), QPoint(336, 192)})
        EXPECT_EQ(shot.pixel(on), frame) << on.x() << "," << on.y();
    // One pixel in, and the pixels beyond the frame, show the background.
    for (const QPoint off : {QPoint(168, 1), QPoint(1, 97), QPoint(168, 191), QPoint(335, 97),
                             QPoint(337, 97), QPoint(337, 192), QPoint(168, 193)})
        EXPECT_NE(shot.pixel(off), frame) << off.x() << "," << off.y();
}

TEST_F(AboutLook, theTitleBandOutlinesTheTitleRowInsideTheFrame) {
    ASSERT_EQ(shot.size(), AboutSize);
    const QRgb band = qRgb(232, 238, 255);
    // A 3-pixel outline just inside the band's bounds (8, 8, 321 x 25).
    for (const QPoint on : {QPoint(8, 20), QPoint(10, 20), QPoint(326, 20), QPoint(328, 20),
                            QPoint(160, 8), QPoint(160, 10), QPoint(160, 30), QPoint(160, 32)})
        EXPECT_EQ(shot.pixel(on), band) << on.x() << "," << on.y();
    // Outside it, and inside (no fill).
    for (const QPoint off :
         {QPoint(7, 20), QPoint(11, 20), QPoint(325, 20), QPoint(329, 20), QPoint(160, 7),
          QPoint(160, 11), QPoint(160, 29), QPoint(160, 33), QPoint(160, 20)})
        EXPECT_NE(shot.pixel(off), band) << off.x() << "," << off.y();
}

} // namespace
} // namespace orvu
