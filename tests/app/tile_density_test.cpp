// The tiles and the preview on screens of every density: this suite runs
// once as the screen is and once at QT_SCALE_FACTOR=2.

#include "app/main_window.h"
#include "app/picture_box.h"
#include "app/tile_list_model.h"
#include "controls/list_view.h"
#include "controls/option_button.h"
#include "controls/push_button.h"
#include "fake_dialogs.h"
#include "icons/icon_at_size.h"
#include "platform/icon_files.h"
#include "qt/qt_bridge.h"
#include "qt/qt_png_decoder.h"
#include "support/test_files.h"

#include <QApplication>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace orvu {
namespace {

namespace fs = std::filesystem;

class TileDensity : public ::testing::TestWithParam<const char*> {
protected:
    TileDensity() : form(dialogs, &png) {
        EXPECT_TRUE(form.load());
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
    }

    void harvest(const fs::path& file) {
        form.controls().fileModeOption->click();
        dialogs.answers.push_back(QString::fromStdString(file.string()));
        form.controls().pickFileButton->click();
        form.controls().startButton->click();
        settle();
    }
    // Lets the list paint and draw what it asked for.
    void settle() {
        for (int turn = 0; turn < 1000; ++turn) {
            QApplication::processEvents();
            if (!form.tileRows().redrawing())
                return;
        }
    }
    // What the screen shows in `rect` (logical pixels of `widget`), in device pixels.
    static QImage shown(QWidget* widget, const QRect& rect) {
        const QImage shot = widget->grab().toImage();
        const qreal r = shot.devicePixelRatio();
        return shot.copy(QRect(rect.topLeft() * r, rect.size() * r))
            .convertToFormat(QImage::Format_RGB32);
    }
    // Tile row's picture as the list shows it.
    QImage tileShown(int row) {
        ListView* list = form.controls().iconList;
        const QRect tile = list->visualRect(list->model()->index(row, 0));
        return shown(list->viewport(), list->tilePainter().pictureRect(tile));
    }
    // The picture a tile must show: at one device pixel a pixel the cell the
    // harvest made, else the icon as Windows draws it at the screen's size.
    QImage expected(IconLibrary& library, int row) {
        const int size = static_cast<int>(std::lround(32 * qApp->devicePixelRatio()));
        if (size == CellSize)
            return toQImage(form.tiles().cell(static_cast<std::size_t>(row)));
        auto drawn = drawIconAt(library, static_cast<std::uint32_t>(row), size,
                                form.tiles().at(static_cast<std::size_t>(row)).background);
        return drawn ? toQImage(*drawn) : QImage();
    }
    // The rows wholly in view.
    int rowsInView() {
        ListView* list = form.controls().iconList;
        int rows = 0;
        while (rows < list->model()->rowCount() &&
               list->viewport()->rect().contains(list->visualRect(list->model()->index(rows, 0))))
            ++rows;
        return rows;
    }

    test::FakeDialogs dialogs;
    QtPngDecoder png;
    MainWindow form;
};

// Each tile in view shows exactly the picture its screen wants, after the
// harvest and after the window moved to a screen of another density and back,
// and the preview the last icon's.
TEST_P(TileDensity, tilesShowTheIconAsWindowsDrawsItForTheScreen) {
    if (test::corpusDir().empty())
        GTEST_SKIP() << "no corpus: run scripts/fetch-corpus.sh";
    const fs::path file = test::corpusDir() / GetParam();
    auto library = openIconLibrary(file, &png);
    ASSERT_TRUE(library);
    harvest(file);
    const int rows = rowsInView();
    ASSERT_GT(rows, 0);

    const std::uint32_t last = library->count() - 1;
    const QImage lastIcon = expected(*library, static_cast<int>(last));
    EXPECT_EQ(shown(form.controls().previewBox, QRect(0, 0, 32, 32)), lastIcon);

    for (const char* when : {"harvested", "moved"}) {
        for (int row = 0; row < rows; ++row)
            EXPECT_EQ(tileShown(row), expected(*library, row)) << when << " 图标" << row + 1;
        form.tileRows().setPixelRatio(1.5);
        form.tileRows().setPixelRatio(qApp->devicePixelRatio());
        form.controls().iconList->viewport()->update();
        settle();
    }
}

INSTANTIATE_TEST_SUITE_P(
    CorpusFiles, TileDensity,
    ::testing::Values("usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll",
                      "usr/lib/x86_64-linux-gnu/wine/x86_64-windows/regedit.exe",
                      "usr/share/nsis/Contrib/Graphics/Icons/nsis3-install-alt.ico"));

} // namespace
} // namespace orvu
