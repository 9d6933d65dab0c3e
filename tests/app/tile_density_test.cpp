// The tiles and the preview on screens of every density: this suite runs
// once as the screen is and once at QT_SCALE_FACTOR=2, on corpus files and
// on cursor files whose larger image differs from their harvested cell.

#include "app/main_window.h"
#include "app/picture_box.h"
#include "app/tile_list_model.h"
#include "controls/list_view.h"
#include "controls/option_button.h"
#include "controls/push_button.h"
#include "icons/cursor_at_size.h"
#include "icons/icon_at_size.h"
#include "platform/icon_files.h"
#include "qt/qt_bridge.h"
#include "qt/qt_png_decoder.h"
#include "support/icon_builders.h"
#include "support/scripted_asker.h"
#include "support/test_files.h"

#include <QApplication>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace orvu {
namespace {

namespace fs = std::filesystem;

// A cursor of a green 32 x 32 image and a blue 64 x 64 one: a denser screen
// shows it blue, its harvested cell is green.
test::ByteVector twoSizeCursor() {
    return test::buildCursorFile(
        {{test::groupEntry(32, 32, 32, 0), test::solidDib(32, 32, 0x00FF00)},
         {test::groupEntry(64, 64, 32, 0), test::solidDib(64, 32, 0x0000FF)}});
}

// The file a row names: a corpus file, or a cursor file written for it.
fs::path fileFor(const std::string& name, const fs::path& dir) {
    if (name == "two-size.cur" || name == "two-size.ani") {
        test::writeFile(dir / name,
                        name.ends_with(".cur")
                            ? twoSizeCursor()
                            : test::buildAnimation({{twoSizeCursor(), twoSizeCursor()}}));
        return dir / name;
    }
    return test::corpusDir().empty() ? fs::path() : test::corpusDir() / name;
}

class TileDensity : public ::testing::TestWithParam<const char*> {
protected:
    TileDensity() : form(asker, &png) {
        EXPECT_TRUE(form.load());
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
    }

    void harvest(const fs::path& file) {
        form.controls().fileModeOption->click();
        asker.answer(file);
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
    // harvest made, else the icon as Windows draws it at the screen's size
    // (a cursor as Windows draws a cursor, an animated one its first step).
    QImage expected(IconLibrary& library, int row) {
        const int size = static_cast<int>(std::lround(32 * qApp->devicePixelRatio()));
        const Tile tile = form.controller().tiles().at(static_cast<std::size_t>(row));
        if (size == CellSize)
            return toQImage(*tile.cell);
        if (tile.origin.kind != GroupKind::Icon) {
            auto cursor = drawCursorAt(library, tile.origin.group(), size, tile.background);
            return cursor ? toQImage(cursor->surface) : QImage();
        }
        auto drawn = drawIconAt(library, tile.origin.index, size, tile.background);
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

    test::TempDir dir;
    test::ScriptedAsker asker;
    QtPngDecoder png;
    MainWindow form;
};

// Each tile in view shows exactly the picture its screen wants, after the
// harvest and after the window moved to a screen of another density and back,
// and the preview the last icon's.
TEST_P(TileDensity, tilesShowTheIconAsWindowsDrawsItForTheScreen) {
    const fs::path file = fileFor(GetParam(), dir.path());
    if (file.empty())
        GTEST_SKIP() << "no corpus: run scripts/fetch-corpus.sh";
    auto library = openIconLibrary(file, &png);
    ASSERT_TRUE(library);
    harvest(file);
    const int rows = rowsInView();
    ASSERT_GT(rows, 0);

    const QImage lastIcon = expected(*library, form.controls().iconList->model()->rowCount() - 1);
    EXPECT_EQ(shown(form.controls().previewBox, QRect(0, 0, 32, 32)), lastIcon);

    for (const char* when : {"harvested", "moved"}) {
        for (int row = 0; row < rows; ++row)
            EXPECT_EQ(tileShown(row), expected(*library, row)) << when << " tile " << row + 1;
        form.tileRows().setPixelRatio(1.5);
        form.tileRows().setPixelRatio(qApp->devicePixelRatio());
        form.controls().iconList->viewport()->update();
        settle();
    }
}

// On a screen of r device pixels a pixel a tile is drawn at round(32 r)
// pixels, shown at 32 x 32.
TEST(TileSize, aTileIsDrawnAtItsScreensRatioRounded) {
    test::TempDir dir;
    test::writeFile(dir / "a.ico", test::buildIconFile({{test::groupEntry(32, 32, 32, 0),
                                                         test::solidDib(32, 32, 0x00FF00)}}));
    TileCollection tiles;
    tiles.append(0, Surface::filled(CellSize, CellSize, 0x00FF00), 0xFFFFFF,
                 {std::make_shared<const fs::path>(dir / "a.ico"), 0});
    QtPngDecoder png;
    TileListModel rows(tiles, &png);
    const struct {
        qreal ratio;
        int pixels;
    } ratios[] = {{1.0, 32},  {1.25, 40}, {1.49, 48}, {1.5, 48}, {1.51, 48},
                  {1.74, 56}, {2.0, 64},  {2.26, 72}, {3.0, 96}, {0.01, 1}};
    for (const auto& r : ratios) {
        rows.setPixelRatio(r.ratio);
        EXPECT_EQ(rows.pictureSize(), r.pixels) << r.ratio;
        (void)rows.data(rows.index(0), Qt::DecorationRole); // asks for it
        for (int turn = 0; turn < 1000 && rows.redrawing(); ++turn)
            QApplication::processEvents();
        const QImage shown = rows.data(rows.index(0), Qt::DecorationRole).value<QImage>();
        EXPECT_EQ(shown.width(), r.pixels) << r.ratio;
        EXPECT_EQ(shown.deviceIndependentSize(), QSizeF(CellSize, CellSize)) << r.ratio;
    }
}

INSTANTIATE_TEST_SUITE_P(
    CorpusFiles, TileDensity,
    ::testing::Values("usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll",
                      "usr/lib/x86_64-linux-gnu/wine/x86_64-windows/regedit.exe",
                      "usr/share/nsis/Contrib/Graphics/Icons/nsis3-install-alt.ico", "two-size.cur",
                      "two-size.ani"));

} // namespace
} // namespace orvu
