// The main window's own title bar and its icon in the notification area.

#include "app/icon_details_window.h"
#include "app/main_window.h"
#include "app/tray_icon.h"
#include "controls/list_view.h"
#include "controls/option_button.h"
#include "controls/push_button.h"
#include "controls/title_button.h"
#include "support/icon_builders.h"
#include "support/scripted_asker.h"
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
    Chrome() : form(asker, nullptr) {
        form.onEndProgram = [this] { ++ends; };
        EXPECT_TRUE(form.load());
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
    }

    test::ScriptedAsker asker;
    MainWindow form;
    int ends = 0;
};

TEST_F(Chrome, oneTrayIconForTheWholeRunThroughHidingAndShowing) {
    form.trayAvailable = [] { return true; };
    EXPECT_TRUE(form.trayIcon().icon().isVisible());
    EXPECT_EQ(form.trayIcon().icon().toolTip(), QStringLiteral("Orvu图标提取机 D2002.10.27"));
    for (int i = 0; i < 3; ++i) {
        form.controls().minimiseButton->click();
        EXPECT_FALSE(form.isVisible());
        emit form.trayIcon().showWindowRequested();
        EXPECT_TRUE(form.isVisible());
    }
    EXPECT_EQ(form.findChildren<TrayIcon*>().size(), 1);
    EXPECT_TRUE(form.trayIcon().icon().isVisible());
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
    EXPECT_FALSE(form.trayIcon().icon().isVisible());
    EXPECT_FALSE(form.isVisible());
    form.close();
    EXPECT_EQ(ends, 1);
    // Nothing brings the icon back once the program is ending.
    form.trayIcon().add();
    EXPECT_FALSE(form.trayIcon().icon().isVisible());
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
    asker.answer(dir.path());
    form.controls().pickFolderButton->click();
    QTimer::singleShot(0, form.controls().closeButton, &QAbstractButton::click);
    form.controls().startButton->click();
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(form.controls().iconList->model()->rowCount(), 1);
}

// The main window by its title, the details window by its title band, with
// any button; elsewhere a press moves nothing.
TEST_F(Chrome, pressingTheTitleWithAnyButtonDragsTheWindow) {
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        GTEST_SKIP() << "a window manager moves the window with the real pointer";
    test::TempDir dir;
    test::writeFile(dir / "one.ico", test::buildIconFile({{test::groupEntry(16, 16, 24, 0),
                                                           test::solidDib(16, 24, 0x336699)}}));
    auto icon = IconDetails::open({std::make_shared<const fs::path>(dir / "one.ico"), 0}, nullptr);
    ASSERT_TRUE(icon);
    IconDetailsWindow details(std::move(*icon), asker, nullptr);
    details.setAttribute(Qt::WA_DeleteOnClose, false);
    details.show();
    struct Case {
        const char* name;
        QWidget* handle;
        QPoint grip; // in the handle
        bool moves;
    };
    const Case cases[] = {
        {"main window's title", form.controls().titleLabel, {5, 5}, true},
        {"details' title band", &details, {200, 15}, true},
        {"details below the band", &details, {200, 200}, false},
    };
    for (const Case& c : cases) {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            QWidget* window = c.handle->window();
            const QPoint start = window->pos();
            const QPoint grip = c.handle->mapToGlobal(c.grip);
            const auto send = [&](QEvent::Type type, QPoint by, Qt::MouseButton changed,
                                  Qt::MouseButtons held) {
                QMouseEvent event(type, QPointF(c.grip + by), QPointF(grip + by), changed, held,
                                  {});
                QApplication::sendEvent(c.handle, &event);
            };
            send(QEvent::MouseButtonPress, {}, button, button);
            send(QEvent::MouseMove, {40, 20}, Qt::NoButton, button);
            send(QEvent::MouseButtonRelease, {40, 20}, button, Qt::NoButton);
            EXPECT_EQ(window->pos(), start + (c.moves ? QPoint(40, 20) : QPoint()))
                << c.name << " " << button;
            // Once released, the pointer no longer carries the window.
            send(QEvent::MouseMove, {90, 90}, Qt::NoButton, Qt::NoButton);
            EXPECT_EQ(window->pos(), start + (c.moves ? QPoint(40, 20) : QPoint()))
                << c.name << " " << button;
        }
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
