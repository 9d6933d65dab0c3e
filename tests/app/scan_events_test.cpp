// The list while a folder harvest yields to the window.

#include "app/main_window.h"
#include "controls/list_view.h"
#include "controls/option_button.h"
#include "controls/push_button.h"
#include "support/icon_builders.h"
#include "support/scripted_asker.h"
#include "support/test_files.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace orvu {
namespace {

// The list shows the tiles found so far at every yield, not only at the end.
TEST(ScanEvents, theListGrowsAsTheScanYields) {
    test::TempDir dir;
    test::ScriptedAsker asker;
    MainWindow form(asker, nullptr);
    EXPECT_TRUE(form.load());
    form.show();
    for (int i = 0; i < 6; ++i) {
        test::GroupResource group;
        group.name = std::uint16_t{1};
        group.images = {{test::groupEntry(32, 32, 24, 0),
                         test::solidDib(32, 24, 0x101010u * static_cast<std::uint32_t>(i + 1))}};
        test::writeFile(dir / ("app" + std::to_string(i) + ".exe"), test::buildPe({group}));
    }
    form.controls().folderModeOption->click();
    asker.answer(dir.path());
    form.controls().pickFolderButton->click();

    const auto rows = [&] { return form.controls().iconList->model()->rowCount(); };
    QList<int> rowsAtYields;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!form.controller().tileMenu(true).saveSelected) // a harvest runs
            rowsAtYields << rows();
    });
    watch.start();
    form.controls().startButton->click();
    EXPECT_EQ(rowsAtYields, (QList<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(rows(), 6);
}

} // namespace
} // namespace orvu
