// The main window as a user meets it: its design, its modes, the pickers,
// Start, the pop-up menu and the export.

#include "app/icon_details_window.h"
#include "app/image_sheet.h"
#include "app/main_window.h"
#include "app/picture_box.h"
#include "app/status_line.h"
#include "app/tray_icon.h"
#include "controls/help_button.h"
#include "controls/list_view.h"
#include "controls/option_button.h"
#include "controls/push_button.h"
#include "controls/skin.h"
#include "controls/title_button.h"
#include "harvest/details_window_layout.h"
#include "icons/icon_library.h"
#include "qt/qt_png_decoder.h"
#include "qt/qt_text.h"
#include "support/c_locale.h"
#include "support/icon_builders.h"
#include "support/scripted_asker.h"
#include "support/test_files.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTranslator>
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

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : form(asker, &png) {
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
        form.controls().fileModeOption->click();
        asker.answer(path);
        form.controls().pickFileButton->click();
    }

    // The captions the list shows.
    QStringList tileTexts() {
        QStringList texts;
        const QAbstractItemModel* rows = form.controls().iconList->model();
        for (int i = 0; i < rows->rowCount(); ++i)
            texts << rows->index(i, 0).data().toString();
        return texts;
    }

    // The picture tile `row` of the list shows.
    QImage pictureOf(int row) {
        return form.controls()
            .iconList->model()
            ->index(row, 0)
            .data(Qt::DecorationRole)
            .value<QImage>();
    }

    test::ScriptedAsker asker;
    QtPngDecoder png;
    MainWindow form;
    test::TempDir dir;
};

TEST_F(MainWindowTest, opensBorderlessAtItsPlaceWithoutATaskBarButton) {
    EXPECT_EQ(form.pos(), QPoint(178, 71));
    EXPECT_EQ(form.size(), QSize(425, 362));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.windowType(), Qt::Tool);
    EXPECT_FALSE(form.windowIcon().isNull());
}

TEST_F(MainWindowTest, everyControlSitsWhereTheDesignPutsIt) {
    const std::map<QString, QRect> design{
        {"helpButton", {336, 8, 21, 21}},       {"minimiseButton", {360, 8, 21, 21}},
        {"closeButton", {384, 8, 21, 21}},      {"previewBox", {144, 96, 33, 33}},
        {"folderModeOption", {40, 72, 97, 17}}, {"fileModeOption", {40, 48, 97, 17}},
        {"startButton", {280, 104, 89, 25}},    {"pickFolderButton", {344, 72, 25, 17}},
        {"folderPathBox", {144, 72, 193, 18}},  {"pickFileButton", {344, 48, 25, 17}},
        {"filePathBox", {144, 48, 193, 18}},    {"iconList", {8, 144, 409, 193}},
    };
    for (const auto& [name, area] : design) {
        const auto* control = form.findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name.toStdString();
        EXPECT_EQ(control->geometry(), area) << name.toStdString();
    }
    EXPECT_EQ(form.controls().titleLabel->pos(), QPoint(16, 16));
    EXPECT_EQ(form.controls().previewCaption->pos(), QPoint(56, 112));
    EXPECT_EQ(form.controls().statusLine->pos(), QPoint(24, 344));
    EXPECT_EQ(form.controls().minimiseButton->kind(), TitleButton::Kind::Minimise);
    EXPECT_EQ(form.controls().closeButton->kind(), TitleButton::Kind::Close);
}

TEST_F(MainWindowTest, textsAreTheDesignsAndLabelsAreNeverClipped) {
    EXPECT_EQ(form.controls().titleLabel->text(), QStringLiteral("Orvu图标提取机 D2002.10.27"));
    EXPECT_EQ(form.controls().previewCaption->text(), QStringLiteral("提取状态预览："));
    EXPECT_EQ(form.controls().statusLine->text(), QStringLiteral("点击“开始”提取图标"));
    EXPECT_EQ(form.controls().fileModeOption->text(), QStringLiteral("请选择文件名："));
    EXPECT_EQ(form.controls().folderModeOption->text(), QStringLiteral("请选择文件夹："));
    EXPECT_EQ(form.controls().startButton->text(), QStringLiteral("开 始"));
    EXPECT_EQ(form.controls().pickFileButton->text(), QStringLiteral("....."));
    EXPECT_EQ(form.controls().pickFolderButton->text(), QStringLiteral("..."));
    EXPECT_EQ(form.controls().saveIconAction->text(), QStringLiteral("图标另存为"));
    EXPECT_FALSE(form.controls().tileMenu->isVisible());
    for (const QLabel* label : {form.controls().titleLabel, form.controls().previewCaption}) {
        const QFontMetrics metrics(label->font());
        EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text()))
            << label->objectName().toStdString();
        EXPECT_GE(label->height(), metrics.height());
    }
    const QFontMetrics statusMetrics(form.controls().statusLine->font());
    EXPECT_GE(form.controls().statusLine->width(),
              statusMetrics.horizontalAdvance(form.controls().statusLine->text()));
    EXPECT_GE(form.controls().statusLine->height(), statusMetrics.height());
    // With the design's face a CJK character is 12 pixels and an ASCII one 6.
    const QFontMetrics metrics(form.controls().titleLabel->font());
    if (metrics.horizontalAdvance(QStringLiteral("图")) == 12 &&
        metrics.horizontalAdvance('D') == 6)
        EXPECT_EQ(form.controls().titleLabel->width(), 156);
    else
        ADD_FAILURE() << "the design's face is missing: install fonts-wqy-zenhei";
}

TEST(MainWindowInEnglish, speaksEnglishThatFitsTheDesign) {
    const test::InLanguage inEnglish(SourceLanguage);
    test::ScriptedAsker asker;
    QtPngDecoder png;
    MainWindow form(asker, &png);
    const MainWindow::Controls& c = form.controls();
    const std::pair<QString, QString> captions[] = {
        {c.titleLabel->text(), "Orvu Icon Extractor D2002.10.27"},
        {form.trayIcon().icon().toolTip(), "Orvu Icon Extractor D2002.10.27"},
        {c.fileModeOption->text(), "Choose file:"},
        {c.folderModeOption->text(), "Choose folder:"},
        {c.startButton->text(), "Start"},
        {c.previewCaption->text(), "Preview:"},
        {c.statusLine->text(), "Click \"Start\" to extract icons"},
        {c.saveIconAction->text(), "Save Icon As..."},
        {c.detailsAction->text(), "Icon Properties..."},
        {c.saveAllAction->text(), "Save All..."},
    };
    for (const auto& [shown, english] : captions)
        EXPECT_EQ(shown.toStdString(), english.toStdString());
    // An option's caption fits beside its mark, the preview's caption ends
    // before the preview, the title before the title buttons.
    for (const OptionButton* option : {c.fileModeOption, c.folderModeOption})
        EXPECT_LE(option->fontMetrics().horizontalAdvance(option->text()),
                  option->width() - OptionMarkSize)
            << option->text().toStdString();
    EXPECT_LE(c.previewCaption->x() + c.previewCaption->width(), c.previewBox->x());
    EXPECT_LE(c.titleLabel->x() + c.titleLabel->width(), c.helpButton->x());
}

TEST(QtTexts, qtsOwnDialogsSpeakTheWindowsLanguage) {
    for (const auto& [language, yes] : {std::pair{SourceLanguage, QString()},
                                        std::pair{DesignLanguage, QStringLiteral("是(&Y)")}}) {
        const test::InLanguage chosen(language);
        QTranslator qtTexts;
        EXPECT_EQ(loadQtTexts(qtTexts), !yes.isEmpty()) << language;
        EXPECT_EQ(qtTexts.translate("QPlatformTheme", "&Yes"), yes) << language;
    }
}

TEST_F(MainWindowTest, afterLoadNoModeIsChosenAndOnlyTheOptionsRespond) {
    EXPECT_FALSE(form.controls().fileModeOption->isChecked());
    EXPECT_FALSE(form.controls().folderModeOption->isChecked());
    EXPECT_EQ(form.controls().filePathBox->text(), QString());
    EXPECT_EQ(form.controls().folderPathBox->text(), QString());
    EXPECT_EQ(boxColour(form.controls().filePathBox), boxColour(form.controls().folderPathBox));
    EXPECT_NE(boxColour(form.controls().filePathBox), QColor(Qt::white));
    EXPECT_FALSE(form.controls().pickFileButton->isEnabled());
    EXPECT_FALSE(form.controls().pickFolderButton->isEnabled());
    EXPECT_FALSE(form.controls().startButton->isEnabled());
    EXPECT_TRUE(form.controls().filePathBox->isReadOnly());
    EXPECT_TRUE(form.controls().folderPathBox->isReadOnly());
}

TEST_F(MainWindowTest, modeSwitchesFollowTheStateTable) {
    const QColor grey = boxColour(form.controls().filePathBox);
    form.controls().fileModeOption->click();
    EXPECT_TRUE(form.controls().fileModeOption->isChecked());
    EXPECT_EQ(boxColour(form.controls().filePathBox), QColor(Qt::white));
    EXPECT_EQ(boxColour(form.controls().folderPathBox), grey);
    EXPECT_TRUE(form.controls().pickFileButton->isEnabled());
    EXPECT_FALSE(form.controls().pickFolderButton->isEnabled());
    EXPECT_FALSE(form.controls().startButton->isEnabled());

    form.controls().folderModeOption->click();
    EXPECT_TRUE(form.controls().folderModeOption->isChecked());
    EXPECT_FALSE(form.controls().fileModeOption->isChecked());
    EXPECT_EQ(boxColour(form.controls().folderPathBox), QColor(Qt::white));
    EXPECT_EQ(boxColour(form.controls().filePathBox), grey);
    EXPECT_FALSE(form.controls().pickFileButton->isEnabled());
    EXPECT_TRUE(form.controls().pickFolderButton->isEnabled());

    // Clicking the chosen option again keeps it chosen.
    form.controls().folderModeOption->click();
    EXPECT_TRUE(form.controls().folderModeOption->isChecked());

    // A file dropped on the window chooses the file mode, a folder the folder mode.
    const QString program = QString::fromStdString(executable("dropped.exe", {0x336699}).string());
    const QString folder = QString::fromStdString(dir.path().string());
    for (const QString& dropped : {program, folder, program}) {
        form.openPaths({dropped});
        EXPECT_EQ(form.controls().fileModeOption->isChecked(), dropped == program);
        EXPECT_EQ(form.controls().folderModeOption->isChecked(), dropped == folder);
    }
}

TEST_F(MainWindowTest, typingIntoThePathBoxesChangesNothing) {
    form.controls().fileModeOption->click();
    form.controls().filePathBox->setFocus();
    QTest::keyClicks(form.controls().filePathBox, "typed");
    EXPECT_EQ(form.controls().filePathBox->text(), QString());
}

TEST_F(MainWindowTest, startHarvestsTheFileIntoNumberedTiles) {
    chooseFile(executable("three.exe", {0xFF0000, 0x00FF00, 0x0000FF}));
    form.controls().startButton->click();
    EXPECT_EQ(tileTexts(), (QStringList{"图标1", "图标2", "图标3"}));
    EXPECT_EQ(pictureOf(1).pixel(10, 10), qRgb(0, 255, 0));
    EXPECT_FALSE(form.controls().startButton->isEnabled());
    // The preview shows the last icon drawn.
    EXPECT_EQ(form.controls().previewBox->image().pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(form.controls().previewBox->image().pixel(32, 32), qRgb(255, 255, 255));
}

// The tile menu's "hide repeated icons" shows each picture once, counted.
TEST_F(MainWindowTest, hidingRepeatedIconsCountsThemInOneTile) {
    chooseFile(executable("twice.exe", {0xFF0000, 0xFF0000, 0x0000FF}));
    form.controls().startButton->click();
    form.controls().hideRepeatsAction->trigger();
    EXPECT_EQ(tileTexts(), (QStringList{"图标1 ×2", "图标2"}));
    form.controls().hideRepeatsAction->trigger();
    EXPECT_EQ(tileTexts(), (QStringList{"图标1", "图标2", "图标3"}));
}

TEST_F(MainWindowTest, rightPressAnywhereInTheListPopsUpTheMenu) {
    QWidget* viewport = form.controls().iconList->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(200, 100));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_FALSE(form.controls().tileMenu->isVisible());
    QTest::mousePress(viewport, Qt::MiddleButton, {}, QPoint(200, 100));
    QTest::mouseRelease(viewport, Qt::MiddleButton, {}, QPoint(200, 100));
    EXPECT_FALSE(form.controls().tileMenu->isVisible());
    QTest::mousePress(viewport, Qt::RightButton, {}, QPoint(200, 100)); // an empty list
    EXPECT_TRUE(form.controls().tileMenu->isVisible());
    QStringList entries; // "-" for a separator
    for (const QAction* action : form.controls().tileMenu->actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(entries.join(QStringLiteral(" | ")).toStdString(),
              "图标另存为 | 图标属性… | - | 保存选中的图标… | 全部保存… | 复制 | - | 包括光标 | "
              "隐藏重复的图标");
    form.controls().tileMenu->hide();
}

TEST_F(MainWindowTest, tilesTellTheirIconAndADoubleClickOpensItsDetails) {
    chooseFile(executable("three.exe", {0xFF0000, 0x00FF00, 0x0000FF}));
    form.controls().startButton->click();
    const ListView* list = form.controls().iconList;
    const QString tip = list->model()->index(1, 0).data(Qt::ToolTipRole).toString();
    EXPECT_EQ(tip, QStringLiteral("three.exe\n图标 2 · ID 2\n尺寸：32"));

    const QRect tile = list->visualRect(list->model()->index(2, 0));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, tile.center());
    IconDetailsWindow* details = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        details = details ? details : qobject_cast<IconDetailsWindow*>(window);
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->details().heading(), "three.exe · 图标 3 · ID 3");
    ASSERT_EQ(details->details().imageCount(), 1u);
    // It shows at once and decodes its images afterwards.
    for (int turn = 0; turn < 10 && details->imagesShown() < 1; ++turn)
        QCoreApplication::processEvents();
    ASSERT_FALSE(details->images()->picture(0).isNull());
    EXPECT_EQ(details->images()->picture(0).toImage().pixel(16, 16), qRgb(0, 0, 255));
    EXPECT_EQ(details->images()->label(0), QStringLiteral("32 × 32 · 24 位 · BMP"));
    details->close();
}

// Every image has its row, however many there are: its picture, its label,
// why it can't be shown, and a button that saves that very image.
TEST_F(MainWindowTest, theDetailsShowEveryImageAndSaveTheOneWhoseButtonIsPressed) {
    std::vector<test::StoredImage> images;
    for (int i = 0; i < 40; ++i)
        images.push_back({test::groupEntry(16, 16, 24, 0), test::solidDib(16, 24, 0x000100u * i)});
    images.push_back({test::groupEntry(48, 48, 24, 0), {'b', 'a', 'd'}});
    images.push_back({test::groupEntry(48, 48, 24, 0), test::solidDib(48, 24, 0x336699)});
    const fs::path file = dir / "many.ico";
    test::writeFile(file, test::buildIconFile(images));
    auto details = IconDetails::open({std::make_shared<const fs::path>(file), 0}, &png);
    ASSERT_TRUE(details);
    auto* window = new IconDetailsWindow(std::move(*details), asker, nullptr);
    window->show();
    ImageSheet* sheet = window->images();
    ASSERT_EQ(sheet->count(), images.size());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->imagesShown() == images.size(); }));
    EXPECT_EQ(sheet->picture(7).toImage().pixel(8, 8), qRgb(0, 7, 0));
    EXPECT_TRUE(sheet->label(40).startsWith(QStringLiteral("48 × 48 · 24 位 · BMP\n")))
        << sheet->label(40).toStdString();

    const struct {
        std::size_t row;
        bool saves;
    } cases[] = {{41, true}, {40, false}, {3, true}};
    for (const auto& c : cases) {
        asker.dialogs.clear();
        const fs::path saved = dir / ("row" + std::to_string(c.row) + ".png");
        asker.answer(saved);
        sheet->scrollTo(c.row);
        QTest::mouseClick(sheet->viewport(), Qt::LeftButton, {},
                          sheet->saveButtonRect(c.row).center());
        EXPECT_EQ(asker.dialogs.size(), c.saves ? 1u : 0u) << c.row;
        if (!c.saves) {
            asker.paths.clear();
            continue;
        }
        const QImage picture(QString::fromStdString(saved.string()));
        EXPECT_EQ(picture.size(), c.row == 41 ? QSize(48, 48) : QSize(16, 16)) << c.row;
        EXPECT_EQ(picture.pixel(4, 4), c.row == 41 ? qRgb(0x33, 0x66, 0x99) : qRgb(0, 3, 0));
    }
    window->close();
}

// The details' parts lie inside the window below its title band, each clear
// of the others, whether or not an animation plays at the top right.
TEST_F(MainWindowTest, theDetailsPartsLieApartBelowTheTitleBand) {
    test::StoredImage frame{test::groupEntry(32, 32, 32, 0), test::solidDib(32, 32, 0x336699)};
    const std::vector<std::tuple<const char*, GroupKind, test::ByteVector>> files = {
        {"still.ico", GroupKind::Icon, test::buildIconFile({frame})},
        {"moving.ani", GroupKind::Animated,
         test::buildAnimation({{test::buildCursorFile({frame}), test::buildCursorFile({frame})}})},
    };
    for (const auto& [name, kind, bytes] : files) {
        test::writeFile(dir / name, bytes);
        auto details =
            IconDetails::open({std::make_shared<const fs::path>(dir / name), 0, kind}, &png);
        ASSERT_TRUE(details) << name;
        IconDetailsWindow window(std::move(*details), asker, nullptr);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
        std::vector<QWidget*> parts = {window.findChild<QWidget*>(QStringLiteral("heading")),
                                       window.findChild<QWidget*>(QStringLiteral("filePath")),
                                       window.images()};
        if (window.player())
            parts.insert(parts.end(), {window.player(), window.playerHotspot()});
        EXPECT_EQ(parts.size(), kind == GroupKind::Animated ? 5u : 3u) << name;
        const int below = detailsWindowLayout::DragBandHeight;
        const QRect room(0, below, window.width(), window.height() - below);
        for (std::size_t a = 0; a < parts.size(); ++a) {
            ASSERT_NE(parts[a], nullptr) << name << " " << a;
            EXPECT_TRUE(room.contains(parts[a]->geometry()))
                << name << " " << parts[a]->objectName().toStdString();
            for (std::size_t b = 0; b < a; ++b)
                EXPECT_FALSE(parts[a]->geometry().intersects(parts[b]->geometry()))
                    << name << " " << parts[a]->objectName().toStdString() << " over "
                    << parts[b]->objectName().toStdString();
        }
    }
}

TEST_F(MainWindowTest, copyPutsTheLargestImageOnTheClipboard) {
    chooseFile(executable("a.exe", {0x336699}));
    form.controls().startButton->click();
    form.controls().iconList->setCurrentIndex(form.controls().iconList->model()->index(0, 0));
    form.controls().copyAction->trigger();
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    ASSERT_TRUE(copied->hasFormat(QStringLiteral("image/png")));
    const QImage picture = QImage::fromData(copied->data(QStringLiteral("image/png")), "png");
    EXPECT_EQ(picture.size(), QSize(32, 32));
    EXPECT_EQ(picture.pixel(5, 5), qRgb(0x33, 0x66, 0x99));
    EXPECT_TRUE(copied->hasImage());
}

TEST_F(MainWindowTest, draggedTilesBecomeIconFilesAndOneTileAPictureToo) {
    chooseFile(executable("two.exe", {0xFF0000, 0x00FF00}));
    form.controls().startButton->click();
    ListView* list = form.controls().iconList;
    std::unique_ptr<QMimeData> both(list->dragData({0, 1}));
    ASSERT_TRUE(both);
    EXPECT_FALSE(both->hasFormat(QStringLiteral("image/png")));
    const QList<QUrl> files = both->urls();
    ASSERT_EQ(files.size(), 2);
    EXPECT_TRUE(files[0].toLocalFile().endsWith(QStringLiteral("two_1.ico")));
    const auto ico = test::readFile(files[1].toLocalFile().toStdString());
    EXPECT_EQ(IconLibrary::fromBytes(ico, nullptr).count(), 1u);

    std::unique_ptr<QMimeData> one(list->dragData({1}));
    EXPECT_EQ(one->urls().size(), 1);
    const QImage picture = qvariant_cast<QImage>(one->imageData());
    EXPECT_EQ(picture.pixel(5, 5), qRgb(0, 0xFF, 0));
}

TEST_F(MainWindowTest, harvestedTilesShowInTheWindowAsTheyWereDrawn) {
    const std::vector<std::uint32_t> colours{0xE04040, 0x40A040, 0x4060E0, 0xE0C040};
    chooseFile(executable("shot.exe", colours));
    form.controls().startButton->click();
    const QImage shot = form.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(425, 362));
    // The source panel's colour shows between its controls.
    EXPECT_EQ(shot.pixel(20, 130), qRgb(208, 225, 255));
    // Each tile's picture is where the list puts it, in its icon's colour.
    const ListView* list = form.controls().iconList;
    for (int i = 0; i < 4; ++i) {
        const QRect tile = list->visualRect(list->model()->index(i, 0));
        const QPoint centre =
            list->viewport()->mapTo(&form, QPoint(tile.center().x(), tile.top() + 20));
        EXPECT_EQ(shot.pixel(centre) & 0xFFFFFF, colours[static_cast<std::size_t>(i)]) << i;
    }
}

// The window against the Windows API's own cells for shell32.dll.
TEST_F(MainWindowTest, shell32FillsTheListWithTheReferenceCells) {
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
    form.controls().startButton->click();
    ASSERT_EQ(form.controls().iconList->model()->rowCount(), 184);
    EXPECT_EQ(tileTexts().back(), QStringLiteral("图标184"));
    EXPECT_FALSE(form.controls().startButton->isEnabled());
    for (int i = 0; i < 184; ++i) {
        const QImage picture = pictureOf(i);
        const std::string& cell = cells[static_cast<std::size_t>(i)];
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
        EXPECT_LE(worst, 2) << "图标" << i + 1;
    }
}

} // namespace
} // namespace orvu
