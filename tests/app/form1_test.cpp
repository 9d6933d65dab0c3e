// The main window as a user meets it: its design, its modes, the pickers,
// Start, the pop-up menu and the export.

#include "fake_dialogs.h"
#include "app/form1.h"
#include "icon_builders.h"
#include "controls/image_list.h"
#include "controls/list_view.h"
#include "app/picture_box.h"
#include "qt/qt_png_decoder.h"
#include "app/status_line.h"
#include "test_files.h"
#include "controls/xp_command_button.h"
#include "controls/xp_option_button.h"
#include "controls/xp_title_buttons.h"
#include "controls/xp_title_help_button.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace orvu {
namespace {

namespace fs = std::filesystem;

QColor boxColour(const QLineEdit* box) {
    return box->palette().color(QPalette::Base);
}

class MainWindow : public ::testing::Test {
protected:
    MainWindow() : form(dialogs, &png) {
        EXPECT_TRUE(form.load());
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
    }

    // A PE file in the temp folder whose icon i is a solid colours[i].
    fs::path executable(const std::string& name, const std::vector<std::uint32_t>& colours) {
        std::vector<test::GroupResource> groups;
        for (std::size_t i = 0; i < colours.size(); ++i) {
            test::GroupResource group;
            group.name = static_cast<std::uint16_t>(i + 1);
            group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, colours[i])}};
            groups.push_back(group);
        }
        const fs::path path = dir / name;
        fs::create_directories(path.parent_path());
        test::writeFile(path, test::buildPe(groups));
        return path;
    }

    void chooseFile(const fs::path& path) {
        form.c1->click();
        dialogs.answers.push_back(QString::fromStdString(path.string()));
        form.xp1->click();
    }

    QStringList tileTexts() {
        QStringList texts;
        for (int i = 1; i <= form.ListView1->listItems().count(); ++i)
            texts << form.ListView1->listItems().item(i)->text;
        return texts;
    }

    QStringList keys() {
        QStringList result;
        for (int i = 1; i <= form.ImageList1->listImages().count(); ++i)
            result << form.ImageList1->listImages().key(i);
        return result;
    }

    test::FakeDialogs dialogs;
    QtPngDecoder png;
    Form1 form;
    test::TempDir dir;
};

TEST_F(MainWindow, opensBorderlessAtItsPlaceWithoutATaskBarButton) {
    EXPECT_EQ(form.pos(), QPoint(178, 71));
    EXPECT_EQ(form.size(), QSize(425, 362));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.windowType(), Qt::Tool);
    EXPECT_FALSE(form.windowIcon().isNull());
}

TEST_F(MainWindow, everyControlSitsWhereTheDesignPutsIt) {
    const std::map<QString, QRect> design{
        {"XPTitleHelpButton1", {336, 8, 21, 21}},
        {"XPTitleButtons2", {360, 8, 21, 21}},
        {"XPTitleButtons1", {384, 8, 21, 21}},
        {"Picture1", {144, 96, 33, 33}},
        {"c2", {40, 72, 97, 17}},
        {"c1", {40, 48, 97, 17}},
        {"XPCommandButton3", {280, 104, 89, 25}},
        {"xp2", {344, 72, 25, 17}},
        {"Text2", {144, 72, 193, 18}},
        {"xp1", {344, 48, 25, 17}},
        {"Text1", {144, 48, 193, 18}},
        {"ListView1", {8, 144, 409, 193}},
    };
    for (const auto& [name, area] : design) {
        const auto* control = form.findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name.toStdString();
        EXPECT_EQ(control->geometry(), area) << name.toStdString();
    }
    EXPECT_EQ(form.Label2->pos(), QPoint(16, 16));
    EXPECT_EQ(form.Label3->pos(), QPoint(56, 112));
    EXPECT_EQ(form.Label1->pos(), QPoint(24, 344));
    EXPECT_EQ(form.XPTitleButtons2->kind(), XPTitleButtons::Kind::Minimise);
    EXPECT_EQ(form.XPTitleButtons1->kind(), XPTitleButtons::Kind::Close);
}

TEST_F(MainWindow, textsAreTheDesignsAndLabelsAreNeverClipped) {
    EXPECT_EQ(form.Label2->text(), QStringLiteral("Orvu图标提取机 D2002.10.27"));
    EXPECT_EQ(form.Label3->text(), QStringLiteral("提取状态预览："));
    EXPECT_EQ(form.Label1->text(), QStringLiteral("点击“开始”提取图标"));
    EXPECT_EQ(form.c1->text(), QStringLiteral("请选择文件名："));
    EXPECT_EQ(form.c2->text(), QStringLiteral("请选择文件夹："));
    EXPECT_EQ(form.XPCommandButton3->text(), QStringLiteral("开 始"));
    EXPECT_EQ(form.xp1->text(), QStringLiteral("....."));
    EXPECT_EQ(form.xp2->text(), QStringLiteral("..."));
    EXPECT_EQ(form.wddw->text(), QStringLiteral("图标另存为"));
    EXPECT_FALSE(form.wdddd->isVisible());
    for (const QLabel* label : {form.Label2, form.Label3}) {
        const QFontMetrics metrics(label->font());
        EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text()))
            << label->objectName().toStdString();
        EXPECT_GE(label->height(), metrics.height());
    }
    const QFontMetrics statusMetrics(form.Label1->font());
    EXPECT_GE(form.Label1->width(), statusMetrics.horizontalAdvance(form.Label1->text()));
    EXPECT_GE(form.Label1->height(), statusMetrics.height());
    // With the design's face a CJK character is 12 pixels and an ASCII one 6.
    const QFontMetrics metrics(form.Label2->font());
    if (metrics.horizontalAdvance(QStringLiteral("图")) == 12 &&
        metrics.horizontalAdvance('D') == 6)
        EXPECT_EQ(form.Label2->width(), 156);
    else
        ADD_FAILURE() << "the design's face is missing: install fonts-wqy-zenhei";
}

TEST_F(MainWindow, afterLoadNoModeIsChosenAndOnlyTheOptionsRespond) {
    EXPECT_FALSE(form.c1->isChecked());
    EXPECT_FALSE(form.c2->isChecked());
    EXPECT_EQ(form.Text1->text(), QString());
    EXPECT_EQ(form.Text2->text(), QString());
    EXPECT_EQ(boxColour(form.Text1), boxColour(form.Text2));
    EXPECT_NE(boxColour(form.Text1), QColor(Qt::white));
    EXPECT_FALSE(form.xp1->isEnabled());
    EXPECT_FALSE(form.xp2->isEnabled());
    EXPECT_FALSE(form.XPCommandButton3->isEnabled());
    EXPECT_TRUE(form.Text1->isReadOnly());
    EXPECT_TRUE(form.Text2->isReadOnly());
}

TEST_F(MainWindow, modeSwitchesFollowTheStateTable) {
    const QColor grey = boxColour(form.Text1);
    form.c1->click();
    EXPECT_TRUE(form.c1->isChecked());
    EXPECT_EQ(boxColour(form.Text1), QColor(Qt::white));
    EXPECT_EQ(boxColour(form.Text2), grey);
    EXPECT_TRUE(form.xp1->isEnabled());
    EXPECT_FALSE(form.xp2->isEnabled());
    EXPECT_FALSE(form.XPCommandButton3->isEnabled());

    form.c2->click();
    EXPECT_TRUE(form.c2->isChecked());
    EXPECT_FALSE(form.c1->isChecked());
    EXPECT_EQ(boxColour(form.Text2), QColor(Qt::white));
    EXPECT_EQ(boxColour(form.Text1), grey);
    EXPECT_FALSE(form.xp1->isEnabled());
    EXPECT_TRUE(form.xp2->isEnabled());

    // Clicking the chosen option again keeps it chosen.
    form.c2->click();
    EXPECT_TRUE(form.c2->isChecked());
}

TEST_F(MainWindow, clickingTheFileModeTwiceKeepsThePath) {
    const fs::path file = executable("a.exe", {0xFF0000});
    chooseFile(file);
    form.Text2->setText(QStringLiteral("stale"));
    form.c1->click();
    EXPECT_EQ(form.Text1->text().toStdString(), file.string());
    EXPECT_EQ(form.Text2->text(), QString());
}

TEST_F(MainWindow, switchingModeAfterChoosingKeepsStartButEmptiesTheOtherBox) {
    chooseFile(executable("a.exe", {0xFF0000, 0x00FF00}));
    form.XPCommandButton3->click();
    ASSERT_EQ(form.ListView1->listItems().count(), 2);
    const QString status = form.Label1->text();

    dialogs.answers.push_back(QString::fromStdString((dir / "a.exe").string()));
    form.xp1->click(); // Start enabled again, list emptied
    form.ImageList1->listImages().add("kept", QImage(32, 32, QImage::Format_RGB32));
    form.ListView1->listItems().add("图标1", 1);
    form.c2->click();
    EXPECT_EQ(form.Text1->text(), QString());
    EXPECT_TRUE(form.XPCommandButton3->isEnabled());
    EXPECT_EQ(form.ListView1->listItems().count(), 1); // switching doesn't clear
    EXPECT_EQ(form.ImageList1->listImages().count(), 1);
    EXPECT_EQ(form.Label1->text(), status);

    form.XPCommandButton3->click(); // both boxes empty: only clears and disables
    EXPECT_EQ(form.ListView1->listItems().count(), 0);
    EXPECT_FALSE(form.XPCommandButton3->isEnabled());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(MainWindow, typingIntoThePathBoxesChangesNothing) {
    form.c1->click();
    form.Text1->setFocus();
    QTest::keyClicks(form.Text1, "typed");
    EXPECT_EQ(form.Text1->text(), QString());
}

TEST_F(MainWindow, filePickerEmptiesTheListBeforeItsDialog) {
    chooseFile(executable("a.exe", {0xFF0000}));
    form.XPCommandButton3->click();
    int imagesWhenAsked = -1;
    int tilesWhenAsked = -1;
    dialogs.onOpen = [&] {
        imagesWhenAsked = form.ImageList1->listImages().count();
        tilesWhenAsked = form.ListView1->listItems().count();
    };
    form.xp1->click(); // cancelled
    EXPECT_EQ(imagesWhenAsked, 0);
    EXPECT_EQ(tilesWhenAsked, 0);
    EXPECT_EQ(form.Text1->text(), QString());
    EXPECT_TRUE(form.XPCommandButton3->isEnabled());
    EXPECT_EQ(form.ListView1->icons(), nullptr);

    const auto& request = dialogs.requests.back();
    EXPECT_EQ(request.file.title, QStringLiteral("Orvu图标提取器 D2002 10 25"));
    EXPECT_EQ(request.file.filterName, QStringLiteral("(*.exe)"));
    EXPECT_EQ(request.file.filterPattern, QStringLiteral("*.exe"));
    EXPECT_EQ(request.file.initialFolder, QDir::rootPath());
}

TEST_F(MainWindow, chosenFileIsTrimmedIntoTheBox) {
    form.c1->click();
    dialogs.answers.push_back(QStringLiteral("  /data/长 名字/app.exe  "));
    form.xp1->click();
    EXPECT_EQ(form.Text1->text(), QStringLiteral("/data/长 名字/app.exe"));
}

TEST_F(MainWindow, folderPickerEmptiesTheListOnlyAfterItsDialog) {
    chooseFile(executable("a.exe", {0xFF0000}));
    form.XPCommandButton3->click();
    form.c2->click();
    int imagesWhenAsked = -1;
    dialogs.onOpen = [&] { imagesWhenAsked = form.ImageList1->listImages().count(); };
    dialogs.answers.push_back(QStringLiteral("/some/folder/"));
    form.xp2->click();
    EXPECT_EQ(imagesWhenAsked, 1);
    EXPECT_EQ(form.ImageList1->listImages().count(), 0);
    EXPECT_EQ(form.ListView1->listItems().count(), 0);
    EXPECT_EQ(form.Text2->text(), QStringLiteral("/some/folder/"));
    EXPECT_TRUE(form.XPCommandButton3->isEnabled());
    EXPECT_EQ(dialogs.requests.back().title, QStringLiteral("请选择要提取图标的文件夹........"));

    form.xp2->click(); // cancelled
    EXPECT_EQ(form.Text2->text(), QString());
    EXPECT_TRUE(form.XPCommandButton3->isEnabled());
}

TEST_F(MainWindow, startHarvestsTheFileIntoNumberedTiles) {
    chooseFile(executable("three.exe", {0xFF0000, 0x00FF00, 0x0000FF}));
    form.XPCommandButton3->click();
    EXPECT_EQ(keys(), (QStringList{"my0", "my1", "my2"}));
    EXPECT_EQ(tileTexts(), (QStringList{"图标1", "图标2", "图标3"}));
    EXPECT_EQ(form.ListView1->icons(), form.ImageList1);
    EXPECT_EQ(form.ImageList1->listImages().item(2).pixel(10, 10), qRgb(0, 255, 0));
    EXPECT_FALSE(form.XPCommandButton3->isEnabled());
    // The preview shows the last icon drawn.
    EXPECT_EQ(form.Picture1->image().pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(form.Picture1->image().pixel(32, 32), qRgb(255, 255, 255));
}

TEST_F(MainWindow, unreadableFileSaysSoAndKeepsRunning) {
    chooseFile(dir / "gone.exe");
    form.XPCommandButton3->click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains("gone.exe"));
    EXPECT_EQ(form.ListView1->listItems().count(), 0);
    EXPECT_FALSE(form.ending());
}

TEST_F(MainWindow, folderHarvestShowsEachImageOnceAndEndsIdle) {
    executable("tree/a.exe", {1, 2});
    executable("tree/sub/b.EXE", {3});
    test::writeFile(dir / "tree/notes.txt", {'x'});
    form.c2->click();
    dialogs.answers.push_back(QString::fromStdString((dir / "tree").string()));
    form.xp2->click();
    form.XPCommandButton3->click();
    EXPECT_EQ(keys(), (QStringList{"my1", "my2", "my3"}));
    EXPECT_EQ(tileTexts(), (QStringList{"图标1", "图标2", "图标3"}));
    EXPECT_EQ(form.Label1->text(), QStringLiteral("点击“开始”提取图标"));
    EXPECT_EQ(form.harvestCounters().IconTotal, 3);
}

TEST_F(MainWindow, missingFolderIsReported) {
    form.c2->click();
    dialogs.answers.push_back(QString::fromStdString((dir / "nowhere").string()));
    form.xp2->click();
    form.XPCommandButton3->click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains("nowhere"));
}

TEST_F(MainWindow, rightPressAnywhereInTheListPopsUpTheMenu) {
    QWidget* viewport = form.ListView1->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(200, 100));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_FALSE(form.wdddd->isVisible());
    QTest::mousePress(viewport, Qt::MiddleButton, {}, QPoint(200, 100));
    QTest::mouseRelease(viewport, Qt::MiddleButton, {}, QPoint(200, 100));
    EXPECT_FALSE(form.wdddd->isVisible());
    QTest::mousePress(viewport, Qt::RightButton, {}, QPoint(200, 100)); // an empty list
    EXPECT_TRUE(form.wdddd->isVisible());
    form.wdddd->hide();
}

class Export : public MainWindow {
protected:
    Export() {
        chooseFile(executable("two.exe", {0x336699, 0xCC0000}));
        form.XPCommandButton3->click();
    }
    void selectTile(int position) {
        const QRect tile =
            form.ListView1->visualRect(form.ListView1->model()->index(position - 1, 0));
        QTest::mousePress(form.ListView1->viewport(), Qt::RightButton, {}, tile.center());
        form.wdddd->hide();
    }
    QImage readBack(const fs::path& path) {
        QImageReader reader(QString::fromStdString(path.string()));
        reader.setDecideFormatFromContent(true);
        EXPECT_EQ(reader.format(), QByteArray("bmp"));
        return reader.read();
    }
};

TEST_F(Export, savesTheSelectedTilesPictureAsABitmapWhateverTheName) {
    selectTile(2);
    const fs::path target = dir / "saved.ico";
    dialogs.answers.push_back(QString::fromStdString(target.string()));
    form.wddw->trigger();
    const auto& request = dialogs.requests.back();
    EXPECT_EQ(request.file.title, QStringLiteral("保存文件为:..."));
    EXPECT_EQ(request.file.filterName, QStringLiteral("图标文件"));
    EXPECT_EQ(request.file.filterPattern, QStringLiteral("*.ico"));
    EXPECT_EQ(request.file.defaultSuffix, QStringLiteral("TXT"));
    const QImage saved = readBack(target);
    ASSERT_EQ(saved.size(), QSize(32, 32));
    EXPECT_EQ(saved, form.ImageList1->listImages().item(2).convertToFormat(saved.format()));
    EXPECT_EQ(saved.pixel(16, 16), qRgb(0xCC, 0, 0));
    const auto bytes = test::readFile(target);
    EXPECT_EQ(bytes[28], 24); // bits per pixel
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(Export, savingTwiceReplacesTheFileAndCancellingWritesNothing) {
    const fs::path target = dir / "same.bmp";
    selectTile(1);
    dialogs.answers.push_back(QString::fromStdString(target.string()));
    form.wddw->trigger();
    selectTile(2);
    dialogs.answers.push_back(QString::fromStdString(target.string()));
    form.wddw->trigger();
    EXPECT_EQ(readBack(target).pixel(3, 3), qRgb(0xCC, 0, 0));

    dialogs.cancelNext();
    form.wddw->trigger();
    EXPECT_EQ(readBack(target).pixel(3, 3), qRgb(0xCC, 0, 0));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST_F(Export, withoutASelectedTileNoDialogOpens) {
    QTest::mousePress(form.ListView1->viewport(), Qt::RightButton, {}, QPoint(400, 180));
    form.wdddd->hide();
    ASSERT_FALSE(form.ListView1->selectedItem());
    const std::size_t asked = dialogs.requests.size();
    form.wddw->trigger();
    EXPECT_EQ(dialogs.requests.size(), asked);
    EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("请先选择一个图标")});
}

TEST_F(Export, failedSavesKeepTheEarlierFileAndSaySo) {
    selectTile(1);
    // A folder that doesn't exist.
    dialogs.answers.push_back(QString::fromStdString((dir / "no/such/x.bmp").string()));
    form.wddw->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains("x.bmp"));

    // A device: never replaced, never written.
    struct stat before {};
    ASSERT_EQ(::stat("/dev/full", &before), 0);
    dialogs.answers.push_back(QStringLiteral("/dev/full"));
    form.wddw->trigger();
    EXPECT_EQ(dialogs.messages.size(), 2);
    struct stat after {};
    ASSERT_EQ(::stat("/dev/full", &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_rdev, before.st_rdev);
}

TEST_F(MainWindow, screenshotForReview) {
    chooseFile(executable("shot.exe", {0xE04040, 0x40A040, 0x4060E0, 0xE0C040}));
    form.XPCommandButton3->click();
    const QImage shot = form.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(425, 362));
    const fs::path folder =
        fs::path(QCoreApplication::applicationDirPath().toStdString()) / "screenshots";
    fs::create_directories(folder);
    ASSERT_TRUE(shot.save(QString::fromStdString((folder / "form1.png").string())));
    // The source panel's colour shows between its controls.
    EXPECT_EQ(shot.pixel(20, 130), qRgb(208, 225, 255));
}

// The window against the Windows API's own cells for shell32.dll.
TEST_F(MainWindow, shell32FillsTheListWithTheReferenceCells) {
    const fs::path shell32 =
        test::corpusDir() / "usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll";
    if (test::corpusDir().empty())
        GTEST_SKIP() << "no corpus: run scripts/fetch-corpus.sh";
    std::ifstream reference(test::dataDir() / "reference/wine-x86_64-windows.tsv");
    std::vector<std::string> cells;
    for (std::string line; std::getline(reference, line);) {
        if (line.rfind("wine/shell32.dll\t", 0) != 0)
            continue;
        std::istringstream fields(line);
        std::string name, sha, count, all;
        std::getline(fields, name, '\t');
        std::getline(fields, sha, '\t');
        std::getline(fields, count, '\t');
        std::getline(fields, all, '\t');
        std::istringstream split(all);
        for (std::string cell; std::getline(split, cell, '|');)
            cells.push_back(cell);
    }
    ASSERT_EQ(cells.size(), 184u);
    chooseFile(shell32);
    form.XPCommandButton3->click();
    ASSERT_EQ(form.ListView1->listItems().count(), 184);
    EXPECT_EQ(tileTexts().back(), QStringLiteral("图标184"));
    EXPECT_FALSE(form.XPCommandButton3->isEnabled());
    for (int i = 1; i <= 184; ++i) {
        const QImage picture = form.ImageList1->listImages().item(i);
        const std::string& cell = cells[static_cast<std::size_t>(i - 1)];
        int worst = 0;
        for (int p = 0; p < 1024; ++p) {
            const QRgb ours = picture.pixel(p % 32, p / 32);
            const int theirs[3] = {std::stoi(cell.substr(p * 6, 2), nullptr, 16),
                                   std::stoi(cell.substr(p * 6 + 2, 2), nullptr, 16),
                                   std::stoi(cell.substr(p * 6 + 4, 2), nullptr, 16)};
            worst =
                std::max({worst, std::abs(qRed(ours) - theirs[0]),
                          std::abs(qGreen(ours) - theirs[1]), std::abs(qBlue(ours) - theirs[2])});
        }
        EXPECT_LE(worst, 2) << "图标" << i;
    }
}

} // namespace
} // namespace orvu
