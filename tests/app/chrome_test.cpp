// The main window's own title bar and its icon in the notification area.

#include "app/main_window.h"
#include "app/tray_icon.h"
#include "controls/list_view.h"
#include "controls/option_button.h"
#include "controls/push_button.h"
#include "controls/title_button.h"
#include "fake_dialogs.h"
#include "support/icon_builders.h"
#include "support/test_files.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace orvu {
namespace {

namespace fs = std::filesystem;

TEST(TrayIconEvents, onlyALeftClickBringsTheWindow) {
    EXPECT_TRUE(TrayIcon::showsWindowFor(QSystemTrayIcon::Trigger));
    for (auto reason : {QSystemTrayIcon::Context, QSystemTrayIcon::DoubleClick,
                        QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown})
        EXPECT_FALSE(TrayIcon::showsWindowFor(reason)) << reason;
}

class Chrome : public ::testing::Test {
protected:
    Chrome() : form(dialogs, nullptr) {
        form.onEndProgram = [this] { ++ends; };
        EXPECT_TRUE(form.load());
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
    }

    test::FakeDialogs dialogs;
    MainWindow form;
    int ends = 0;
};

TEST_F(Chrome, oneTrayIconForTheWholeRunThroughHidingAndShowing) {
    form.trayAvailable = [] { return true; };
    EXPECT_TRUE(form.trayIcon().isShown());
    EXPECT_EQ(form.trayIcon().icon().toolTip(), QStringLiteral("Orvu图标提取机 D2002.10.27"));
    for (int i = 0; i < 3; ++i) {
        form.controls().minimiseButton->click();
        EXPECT_FALSE(form.isVisible());
        emit form.trayIcon().showWindowRequested();
        EXPECT_TRUE(form.isVisible());
    }
    EXPECT_EQ(form.findChildren<TrayIcon*>().size(), 1);
    EXPECT_TRUE(form.trayIcon().isShown());
    EXPECT_EQ(ends, 0);
}

TEST_F(Chrome, withoutANotificationAreaMinimisingKeepsAWayBack) {
    form.trayAvailable = [] { return false; };
    form.controls().minimiseButton->click();
    EXPECT_TRUE(form.isMinimized());
    EXPECT_EQ(form.windowType(), Qt::Window); // it now has a task-bar button
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    emit form.trayIcon().showWindowRequested();
    EXPECT_FALSE(form.isMinimized());
}

TEST_F(Chrome, closeButtonRemovesTheTrayIconOnceAndEnds) {
    form.controls().closeButton->click();
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(form.trayIcon().isShown());
    EXPECT_FALSE(form.isVisible());
    form.close();
    EXPECT_EQ(ends, 1);
    // Nothing brings the icon back once the program is ending.
    form.trayIcon().add();
    EXPECT_FALSE(form.trayIcon().isShown());
}

TEST_F(Chrome, closingDuringAFolderScanStopsItAtOnce) {
    test::TempDir dir;
    for (int i = 0; i < 20; ++i) {
        test::GroupResource group;
        group.name = std::uint16_t{1};
        group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, 0x102030)}};
        test::writeFile(dir / ("app" + std::to_string(i) + ".exe"), test::buildPe({group}));
    }
    form.controls().folderModeOption->click();
    dialogs.answers.push_back(QString::fromStdString(dir.path().string()));
    form.controls().pickFolderButton->click();
    QTimer::singleShot(0, form.controls().closeButton, &QAbstractButton::click);
    form.controls().startButton->click();
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(form.controls().iconList->listItems().count(), 1);
}

TEST_F(Chrome, pressingTheTitleWithAnyButtonDragsTheWindow) {
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        GTEST_SKIP() << "a window manager moves the window with the real pointer";
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        const QPoint start = form.pos();
        const QPoint grip = form.controls().titleLabel->mapToGlobal(QPoint(5, 5));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(grip), button, button,
                          {});
        QApplication::sendEvent(form.controls().titleLabel, &press);
        QMouseEvent move(QEvent::MouseMove, QPointF(45, 25), QPointF(grip + QPoint(40, 20)),
                         Qt::NoButton, button, {});
        QApplication::sendEvent(form.controls().titleLabel, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(45, 25),
                            QPointF(grip + QPoint(40, 20)), button, Qt::NoButton, {});
        QApplication::sendEvent(form.controls().titleLabel, &release);
        EXPECT_EQ(form.pos(), start + QPoint(40, 20));
        // Once released, the pointer no longer carries the window.
        QMouseEvent after(QEvent::MouseMove, QPointF(90, 90), QPointF(grip + QPoint(90, 90)),
                          Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(form.controls().titleLabel, &after);
        EXPECT_EQ(form.pos(), start + QPoint(40, 20));
    }
}

TEST_F(Chrome, aPressOnTheWindowsOwnSurfaceChangesNothing) {
    const QPoint start = form.pos();
    QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(200, 350));
    EXPECT_EQ(form.pos(), start);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(ends, 0);
}

} // namespace
} // namespace orvu
