// One tile as the large-icon list draws it, painted on a picture.

#include "controls/skin.h"
#include "controls/tile_painter.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace orvu {
namespace {

// Pixels of the colour, or (with a tolerance) near it, as text's smoothed edges are.
int countPixels(const QImage& image, const QRect& area, QColor colour, int tolerance = 0) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count +=
                std::abs(image.pixelColor(x, y).red() - colour.red()) <= tolerance &&
                        std::abs(image.pixelColor(x, y).green() - colour.green()) <= tolerance &&
                        std::abs(image.pixelColor(x, y).blue() - colour.blue()) <= tolerance
                    ? 1
                    : 0;
    return count;
}

// The picture shows as it is unless selected; the caption stands on the
// highlight when selected, and a focused list frames its current tile's
// caption; a caption wider than the tile is cut short, never past its edge.
TEST(TilePainter, showsPictureCaptionSelectionAndFocus) {
    QPalette palette;
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(0, 0, 200));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    QImage picture(32, 32, QImage::Format_RGB32);
    picture.fill(QColor(200, 0, 0));
    const TilePainter painter(designFont(), palette, picture.size());
    const QRect tile(QPoint(0, 0), painter.tileSize());
    const QRect pictureArea = painter.pictureRect(tile);
    const QRect captionArea(tile.left(), pictureArea.bottom() + 1, tile.width(),
                            tile.bottom() - pictureArea.bottom());

    struct Case {
        const char* name;
        QString caption;
        TilePainter::State state;
        bool pictureAsItIs;
        bool captionOnHighlight;
        bool framed;
    };
    const QString wide = QStringLiteral("图标1234567890123456789");
    const Case cases[] = {
        {"plain", QStringLiteral("图标3"), {}, true, false, false},
        {"selected", QStringLiteral("图标3"), {true, false, false}, false, true, false},
        {"current, focused", QStringLiteral("图标3"), {false, true, true}, true, false, true},
        {"selected, focused", QStringLiteral("图标3"), {true, false, true}, false, true, false},
        {"current, no focus", QStringLiteral("图标3"), {false, true, false}, true, false, false},
        {"too wide", wide, {true, true, true}, false, true, true},
    };
    const auto paint = [&](const QString& caption, TilePainter::State state) {
        QImage image(tile.size() + QSize(20, 0), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter on(&image);
        painter.paint(on, tile, picture, caption, state);
        return image;
    };
    for (const Case& c : cases) {
        const QImage image = paint(c.caption, c.state);
        EXPECT_EQ(countPixels(image, pictureArea, QColor(200, 0, 0)) == 32 * 32, c.pictureAsItIs)
            << c.name;
        EXPECT_EQ(countPixels(image, captionArea, QColor(0, 0, 200)) > 50, c.captionOnHighlight)
            << c.name;
        EXPECT_GT(countPixels(image, captionArea, c.captionOnHighlight ? Qt::white : Qt::black, 90),
                  10)
            << c.name;
        // The frame is all that focus adds.
        const QImage unfocused = paint(c.caption, {c.state.selected, c.state.current, false});
        EXPECT_EQ(image != unfocused, c.framed) << c.name;
        // Nothing is drawn past the tile's right edge.
        EXPECT_EQ(countPixels(image, QRect(tile.right() + 1, 0, 20, tile.height()), Qt::white),
                  20 * tile.height())
            << c.name;
    }
}

} // namespace
} // namespace orvu
