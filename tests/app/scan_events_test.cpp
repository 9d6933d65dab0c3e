// What the user may do while a folder harvest yields to the window, and
// that none of it can break the harvest.

#include "fake_dialogs.h"
#include "app/form1.h"
#include "icon_builders.h"
#include "controls/image_list.h"
#include "controls/list_view.h"
#include "app/status_line.h"
#include "test_files.h"
#include "controls/xp_command_button.h"
#include "controls/xp_option_button.h"

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
            group.images = {{test::groupEntry(32, 32, 24, 0),
                             test::solidDib(32, 24, 0x101010u * static_cast<std::uint32_t>(i + 1))}};
            test::writeFile(dir / ("app" + std::to_string(i) + ".exe"), test::buildPe({group}));
        }
        form.c2->click();
        dialogs.answers.push_back(QString::fromStdString(dir.path().string()));
        form.xp2->click();
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
        for (int i = 1; i <= form.ImageList1->listImages().count(); ++i)
            result << form.ImageList1->listImages().key(i);
        return result;
    }

    test::TempDir dir;
    test::FakeDialogs dialogs;
    Form1 form;
};

TEST_F(ScanEvents, switchingModeDuringAScanDoesNotStopIt) {
    atYield(2, [this] { form.c1->click(); });
    form.XPCommandButton3->click();
    EXPECT_EQ(form.ListView1->listItems().count(), 6);
    EXPECT_TRUE(form.c1->isChecked());
    EXPECT_EQ(form.Text2->text(), QString());
}

TEST_F(ScanEvents, pickerDuringAScanEmptiesTheListAndTheScanGoesOn) {
    atYield(2, [this] {
        dialogs.answers.push_back(QString::fromStdString(dir.path().string()));
        form.xp2->click();
    });
    form.XPCommandButton3->click();
    // Two images before the picker emptied everything; the rest keep their keys.
    EXPECT_EQ(keys(), (QStringList{"my3", "my4", "my5", "my6"}));
    EXPECT_EQ(form.ListView1->listItems().count(), 4);
    EXPECT_EQ(form.ListView1->listItems().item(1)->text, QStringLiteral("图标1"));
    EXPECT_EQ(form.ListView1->listItems().item(1)->icon, 1);
    EXPECT_TRUE(form.XPCommandButton3->isEnabled());
}

TEST_F(ScanEvents, startAgainDuringAScanRunsToItsEndInsideIt) {
    atYield(1, [this] {
        dialogs.answers.push_back(QString::fromStdString(dir.path().string()));
        form.xp2->click();
        form.XPCommandButton3->click(); // a whole second harvest, then the first resumes
    });
    form.XPCommandButton3->click();
    const QStringList all = keys();
    ASSERT_EQ(all.size(), 11); // 6 of the inner harvest, then 5 more of the outer one
    EXPECT_EQ(all.first(), QStringLiteral("my2"));
    EXPECT_EQ(form.ListView1->listItems().count(), 11);
    for (int i = 1; i <= 11; ++i)
        EXPECT_EQ(form.ListView1->listItems().item(i)->icon, i);
    EXPECT_EQ(form.Label1->text(), QStringLiteral("点击“开始”提取图标"));
}

} // namespace
} // namespace orvu
