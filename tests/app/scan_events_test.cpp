// What the user may do while a folder harvest yields to the window.

#include "app/main_window.h"
#include "app/status_line.h"
#include "controls/list_view.h"
#include "controls/option_button.h"
#include "controls/push_button.h"
#include "fake_dialogs.h"
#include "support/icon_builders.h"
#include "support/test_files.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace orvu {
namespace {

namespace fs = std::filesystem;

class ScanEvents : public ::testing::Test {
protected:
    ScanEvents() : form(dialogs, nullptr) {
        EXPECT_TRUE(form.load());
        form.show();
        for (int i = 0; i < 6; ++i) {
            test::GroupResource group;
            group.name = std::uint16_t{1};
            group.images = {
                {test::groupEntry(32, 32, 24, 0),
                 test::solidDib(32, 24, 0x101010u * static_cast<std::uint32_t>(i + 1))}};
            test::writeFile(dir / ("app" + std::to_string(i) + ".exe"), test::buildPe({group}));
        }
        form.controls().folderModeOption->click();
        dialogs.answers.push_back(QString::fromStdString(dir.path().string()));
        form.controls().pickFolderButton->click();
    }

    // Runs `action` at the harvest's `n`-th yield (counting from 1).
    void atYield(int n, std::function<void()> action) {
        auto* counter = new QTimer(&form);
        counter->setInterval(0);
        QObject::connect(counter, &QTimer::timeout, [counter, n, action, seen = 0]() mutable {
            if (++seen == n) {
                counter->stop();
                action();
            }
        });
        counter->start();
    }

    QStringList keys() {
        QStringList result;
        for (std::size_t i = 0; i < form.tiles().size(); ++i)
            result << QString::fromStdString(form.tiles().key(i));
        return result;
    }

    int tiles() const { return form.controls().iconList->model()->rowCount(); }
    QString status() const { return form.controls().statusLine->text(); }

    test::TempDir dir;
    test::FakeDialogs dialogs;
    MainWindow form;
};

// Whatever the user does while a harvest yields, the list only ever shows
// the chosen source's icons, and one harvest runs at a time.
TEST_F(ScanEvents, switchingModeStopsTheScanKeepingWhatItFound) {
    atYield(2, [this] { form.controls().fileModeOption->click(); });
    form.controls().startButton->click();
    EXPECT_EQ(tiles(), 2);
    EXPECT_TRUE(form.controls().fileModeOption->isChecked());
    EXPECT_EQ(form.controls().folderPathBox->text(), QString());
    EXPECT_FALSE(form.harvesting());
    EXPECT_EQ(status(), QStringLiteral("点击“开始”提取图标"));
}

// The list shows the tiles found so far at every yield, not only at the end.
TEST_F(ScanEvents, theListGrowsAsTheScanYields) {
    QList<int> rowsAtYields;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (form.harvesting())
            rowsAtYields << tiles();
    });
    watch.start();
    form.controls().startButton->click();
    EXPECT_EQ(rowsAtYields, (QList<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(tiles(), 6);
}

TEST_F(ScanEvents, pickerEmptiesTheListAndTheOldScanAddsNothingMore) {
    atYield(2, [this] {
        dialogs.answers.push_back(QString::fromStdString(dir.path().string()));
        form.controls().pickFolderButton->click();
    });
    form.controls().startButton->click();
    EXPECT_EQ(keys(), QStringList());
    EXPECT_EQ(tiles(), 0);
    EXPECT_TRUE(form.controls().startButton->isEnabled());
    EXPECT_EQ(status(), QStringLiteral("点击“开始”提取图标"));
}

TEST_F(ScanEvents, startDuringAScanRunsOnceTheOldOneHasStopped) {
    atYield(1, [this] {
        dialogs.answers.push_back(QString::fromStdString(dir.path().string()));
        form.controls().pickFolderButton->click();
        form.controls().startButton->click();
        EXPECT_EQ(tiles(), 0); // not a harvest inside the harvest
    });
    form.controls().startButton->click();
    // The first scan took my1 and was stopped; the second ran whole.
    EXPECT_EQ(keys(), (QStringList{"my2", "my3", "my4", "my5", "my6", "my7"}));
    ASSERT_EQ(tiles(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(form.controls().iconList->model()->index(i, 0).data().toString(),
                  QStringLiteral("图标%1").arg(i + 1));
    EXPECT_EQ(status(), QStringLiteral("点击“开始”提取图标"));
    EXPECT_FALSE(form.controls().startButton->isEnabled());
}

TEST_F(ScanEvents, aDropDuringAScanStopsItAndHarvestsWhatWasDropped) {
    test::GroupResource group;
    group.name = std::uint16_t{1};
    group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, 0xABCDEF)}};
    test::TempDir other;
    test::writeFile(other / "dropped.exe", test::buildPe({group, group}));
    atYield(2, [&] { form.openPaths({QString::fromStdString((other / "dropped.exe").string())}); });
    form.controls().startButton->click();
    EXPECT_EQ(keys(), (QStringList{"my0", "my1"}));
    EXPECT_TRUE(form.controls().fileModeOption->isChecked());
    EXPECT_FALSE(form.harvesting());
}

TEST_F(ScanEvents, escapeStopsTheScanAndTheStatusLineSaysSo) {
    atYield(3, [this] { QTest::keyClick(&form, Qt::Key_Escape); });
    form.controls().startButton->click();
    EXPECT_EQ(tiles(), 3);
    EXPECT_EQ(status(), QStringLiteral("提取已停止"));
    EXPECT_FALSE(form.harvesting());
    // Esc with nothing running changes nothing.
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(tiles(), 3);
}

} // namespace
} // namespace orvu
