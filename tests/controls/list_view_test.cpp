#include "controls/list_view.h"

#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>

namespace orvu {
namespace {

QImage solid(QColor colour) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

int countPixels(const QImage& image, const QRect& area, QColor colour) {
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}

// The smallest rectangle holding every pixel of the area that passes `test`.
template <typename Test> QRect boundsOf(const QImage& image, const QRect& area, Test test) {
    QRect bounds;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (test(image.pixelColor(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

bool isText(QColor colour) {
    return colour.lightness() < 90;
}

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_view.setModel(&m_tiles);
        m_view.resize(409, 193); // the icon list as designed
        m_view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
    }

    // The picture of the next tile added.
    void addPicture(QColor colour) { m_pictures.push_back(solid(colour)); }

    // Tiles 图标1 … 图标n, tile i showing picture i where there is one.
    void addTiles(int count) {
        for (int i = m_tiles.rowCount(); i < count; ++i) {
            auto* tile = new QStandardItem(QStringLiteral("图标%1").arg(i + 1));
            if (static_cast<std::size_t>(i) < m_pictures.size())
                tile->setData(m_pictures[static_cast<std::size_t>(i)], Qt::DecorationRole);
            m_tiles.appendRow(tile);
        }
    }

    QRect tile(int row) const { return m_view.visualRect(m_view.model()->index(row, 0)); }

    // The view's content painted afresh.
    QImage painted() {
        return m_view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // What is on screen now: the window's backing store, as the event loop
    // last left it.
    QImage onScreen() {
        const QImage window = m_view.screen()->grabWindow(m_view.winId()).toImage();
        const QRect viewport(m_view.viewport()->mapTo(&m_view, QPoint(0, 0)),
                             m_view.viewport()->size());
        return window.copy(viewport).convertToFormat(QImage::Format_RGB32);
    }

    void press(Qt::MouseButton button, QPoint position, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(m_view.viewport(), button, modifiers, position);
        QTest::mouseRelease(m_view.viewport(), button, modifiers, position);
    }

    std::vector<QImage> m_pictures;
    QStandardItemModel m_tiles;
    ListView m_view;
};

TEST_F(ListViewTest, tile_showsItsOwnPicture) {
    addPicture(Qt::red);
    addPicture(Qt::green);
    addPicture(Qt::blue);
    addTiles(3);

    const QImage image = painted();
    EXPECT_EQ(countPixels(image, tile(0), Qt::red), 32 * 32);
    EXPECT_EQ(countPixels(image, tile(0), Qt::green), 0);
    EXPECT_EQ(countPixels(image, tile(1), Qt::green), 32 * 32);
    EXPECT_EQ(countPixels(image, tile(2), Qt::blue), 32 * 32);
    EXPECT_EQ(countPixels(image, tile(2), Qt::red), 0);
}

TEST_F(ListViewTest, tile_centresItsPictureAboveItsCaption) {
    auto* only = new QStandardItem(QStringLiteral("图标12"));
    only->setData(solid(Qt::red), Qt::DecorationRole);
    m_tiles.appendRow(only);

    const QImage image = painted();
    const QRect area = tile(0);
    EXPECT_EQ(area.width(), ListView::MinimumTileWidth);
    const QRect picture = boundsOf(image, area, [](QColor c) { return c == QColor(Qt::red); });
    ASSERT_EQ(picture.size(), QSize(32, 32));
    EXPECT_LE(std::abs((picture.left() - area.left()) - (area.right() - picture.right())), 1);

    const QRect caption = boundsOf(image, area, isText);
    ASSERT_FALSE(caption.isNull());
    EXPECT_GT(caption.top(), picture.bottom());
    EXPECT_LE(std::abs(caption.center().x() - area.center().x()), 3);
    EXPECT_GE(caption.width(), 30); // two ideographs and two digits, not elided
}

TEST_F(ListViewTest, tiles_wrapAfterFiveAcrossTheDesignedWidth) {
    addTiles(12);
    EXPECT_EQ(tile(4).top(), tile(0).top());
    EXPECT_GT(tile(4).left(), tile(3).left());
    EXPECT_GT(tile(5).top(), tile(0).top());
    EXPECT_EQ(tile(5).left(), tile(0).left());
    EXPECT_EQ(tile(10).left(), tile(0).left());
}

TEST_F(ListViewTest, tileWithoutAPicture_showsOnlyTheCaption) {
    addTiles(1);

    const QImage image = painted();
    const QRect pictureArea(tile(0).topLeft(), QSize(tile(0).width(), 36));
    const QColor base = m_view.palette().color(QPalette::Base);
    EXPECT_TRUE(boundsOf(image, pictureArea, [&](QColor c) { return c != base; }).isNull());
    EXPECT_FALSE(boundsOf(image, tile(0), isText).isNull());
}

TEST_F(ListViewTest, appendedTiles_appearOnScreenOnceTheEventLoopRuns) {
    QCoreApplication::processEvents();
    ASSERT_EQ(countPixels(onScreen(), QRect(0, 0, 409, 193), Qt::red), 0);

    addPicture(Qt::red);
    addTiles(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(countPixels(onScreen(), tile(0), Qt::red), 32 * 32);

    addPicture(Qt::green);
    addTiles(2);
    QCoreApplication::processEvents();
    EXPECT_EQ(countPixels(onScreen(), tile(1), Qt::green), 32 * 32);
    EXPECT_FALSE(boundsOf(onScreen(), tile(1), isText).isNull());
}

TEST_F(ListViewTest, clearingTheList_takesTheTilesOffScreenAndTheSelectionAway) {
    addPicture(Qt::red);
    addTiles(1);
    press(Qt::LeftButton, tile(0).center());
    ASSERT_TRUE(m_view.selectedRow().has_value());
    const QRect where = tile(0);

    m_tiles.clear();
    QCoreApplication::processEvents();

    const QImage image = onScreen();
    EXPECT_EQ(countPixels(image, where, Qt::red), 0);
    EXPECT_TRUE(boundsOf(image, image.rect(), isText).isNull());
    EXPECT_FALSE(m_view.selectedRow().has_value());
}

TEST_F(ListViewTest, rightPressOnEmptySpaceOrInAnEmptyList_isReported) {
    QSignalSpy pressed(&m_view, &ListView::pressed);
    press(Qt::RightButton, QPoint(20, 20));
    addTiles(2);
    const QPoint empty(300, 150);
    ASSERT_FALSE(m_view.indexAt(empty).isValid());
    press(Qt::RightButton, empty);

    ASSERT_EQ(pressed.count(), 2);
    EXPECT_EQ(pressed.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(pressed.at(1).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(pressed.at(1).at(2).toPoint(), empty);
}

TEST_F(ListViewTest, leftAndMiddlePresses_areReportedWithTheModifiers) {
    addTiles(1);
    QSignalSpy pressed(&m_view, &ListView::pressed);

    press(Qt::LeftButton, tile(0).center(), Qt::ShiftModifier);
    press(Qt::MiddleButton, QPoint(300, 150));

    ASSERT_EQ(pressed.count(), 2);
    EXPECT_EQ(pressed.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
    EXPECT_EQ(pressed.at(0).at(1).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    EXPECT_EQ(pressed.at(1).at(0).value<Qt::MouseButton>(), Qt::MiddleButton);
    EXPECT_EQ(pressed.at(1).at(1).value<Qt::KeyboardModifiers>(), Qt::NoModifier);
}

TEST_F(ListViewTest, rightPressOnATile_selectsItBeforeReportingThePress) {
    addTiles(3);
    std::optional<int> selectedWhenReported;
    QObject::connect(&m_view, &ListView::pressed,
                     [&] { selectedWhenReported = m_view.selectedRow(); });

    press(Qt::RightButton, tile(1).center());

    EXPECT_EQ(selectedWhenReported, 1);
    EXPECT_EQ(m_view.selectedRow(), selectedWhenReported);
}

TEST_F(ListViewTest, leftPressOnAnotherTile_movesTheSingleSelection) {
    addTiles(3);
    press(Qt::LeftButton, tile(0).center());
    press(Qt::LeftButton, tile(2).center());

    EXPECT_EQ(m_view.selectedRow(), 2);
    EXPECT_EQ(m_view.selectionModel()->selectedIndexes().size(), 1);
}

TEST_F(ListViewTest, pressOnEmptySpace_clearsTheSelection) {
    addTiles(3);
    press(Qt::LeftButton, tile(0).center());
    press(Qt::RightButton, QPoint(300, 150));
    EXPECT_FALSE(m_view.selectedRow().has_value());
}

TEST_F(ListViewTest, selectedRow_isNothingUntilATileIsPressed) {
    EXPECT_FALSE(m_view.selectedRow().has_value());
    addTiles(3);
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_view.selectedRow().has_value());
}

TEST_F(ListViewTest, selectedTile_showsItsCaptionHighlighted) {
    addTiles(2);
    const QColor highlight = m_view.palette().color(QPalette::Inactive, QPalette::Highlight);
    const QColor activeHighlight = m_view.palette().color(QPalette::Active, QPalette::Highlight);
    const auto highlighted = [&](const QImage& image, int row) {
        return countPixels(image, tile(row), highlight) +
               countPixels(image, tile(row), activeHighlight);
    };
    ASSERT_EQ(highlighted(painted(), 1), 0);

    press(Qt::LeftButton, tile(1).center());
    const QImage image = painted();
    EXPECT_GT(highlighted(image, 1), 100);
    EXPECT_EQ(highlighted(image, 0), 0);
}

TEST_F(ListViewTest, longList_scrollsToItsLastTile) {
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 100; ++i)
        addPicture(colours[i % 3]);
    addTiles(100);
    QCoreApplication::processEvents();

    EXPECT_TRUE(m_view.verticalScrollBar()->isVisible());
    const QModelIndex last = m_view.model()->index(99, 0);
    ASSERT_FALSE(m_view.viewport()->rect().intersects(m_view.visualRect(last)));

    m_view.scrollTo(last);
    QCoreApplication::processEvents();

    const QRect where = m_view.visualRect(last);
    EXPECT_TRUE(m_view.viewport()->rect().contains(where));
    EXPECT_EQ(countPixels(onScreen(), where, Qt::red), 32 * 32); // picture 100
}

TEST_F(ListViewTest, pressAfterScrolling_selectsTheTileUnderThePointer) {
    addTiles(100);
    QCoreApplication::processEvents();
    m_view.verticalScrollBar()->setValue(m_view.verticalScrollBar()->maximum());
    const QModelIndex last = m_view.model()->index(99, 0);

    press(Qt::RightButton, m_view.visualRect(last).center());

    EXPECT_EQ(m_view.selectedRow(), 99);
}

TEST_F(ListViewTest, arrowKeys_moveTheSelectionAlongAndDownTheRows) {
    addTiles(12);
    press(Qt::LeftButton, tile(0).center());

    QTest::keyClick(&m_view, Qt::Key_Right);
    EXPECT_EQ(m_view.selectedRow(), 1);
    QTest::keyClick(&m_view, Qt::Key_Down);
    EXPECT_EQ(m_view.selectedRow(), 6);
    QTest::keyClick(&m_view, Qt::Key_End);
    EXPECT_EQ(m_view.selectedRow(), 11);
}

// Selecting several tiles as in any list. Tiles are five to a row here.
TEST_F(ListViewTest, selection_followsClicksModifiersAndKeysAsInAnyList) {
    struct Step {
        enum Kind { Click, RightClick, Key } kind;
        int tileOrKey; // a tile for clicks, a Qt::Key for keys
        Qt::KeyboardModifiers modifiers;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        QList<int> selected;
    };
    using M = Qt::KeyboardModifier;
    const std::vector<Case> cases = {
        {"click selects one", {{Step::Click, 2, {}}, {Step::Click, 4, {}}}, {4}},
        {"ctrl toggles",
         {{Step::Click, 1, {}},
          {Step::Click, 3, M::ControlModifier},
          {Step::Click, 1, M::ControlModifier}},
         {3}},
        {"shift extends in list order",
         {{Step::Click, 3, {}}, {Step::Click, 8, M::ShiftModifier}},
         {3, 4, 5, 6, 7, 8}},
        {"shift extends backwards",
         {{Step::Click, 8, {}}, {Step::Click, 3, M::ShiftModifier}},
         {3, 4, 5, 6, 7, 8}},
        {"ctrl+shift adds a range",
         {{Step::Click, 0, {}},
          {Step::Click, 5, M::ControlModifier},
          {Step::Click, 7, M::ControlModifier | M::ShiftModifier}},
         {0, 5, 6, 7}},
        {"right press on a selected tile keeps them",
         {{Step::Click, 2, {}}, {Step::Click, 3, M::ControlModifier}, {Step::RightClick, 2, {}}},
         {2, 3}},
        {"right press on another tile selects it alone",
         {{Step::Click, 2, {}}, {Step::Click, 3, M::ControlModifier}, {Step::RightClick, 9, {}}},
         {9}},
        {"shift+right and shift+down extend",
         {{Step::Click, 1, {}},
          {Step::Key, Qt::Key_Right, M::ShiftModifier},
          {Step::Key, Qt::Key_Down, M::ShiftModifier}},
         {1, 2, 3, 4, 5, 6, 7}},
        {"a plain arrow moves the one selected",
         {{Step::Click, 1, {}}, {Step::Key, Qt::Key_Down, {}}},
         {6}},
        {"shift extends from where a plain arrow went",
         {{Step::Click, 1, {}}, {Step::Key, Qt::Key_Down, {}}, {Step::Click, 8, M::ShiftModifier}},
         {6, 7, 8}},
        {"ctrl+a selects all",
         {{Step::Click, 1, {}}, {Step::Key, Qt::Key_A, M::ControlModifier}},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
    };
    addTiles(12);
    for (const Case& c : cases) {
        m_view.selectionModel()->clear();
        for (const Step& step : c.steps) {
            if (step.kind == Step::Key)
                QTest::keyClick(&m_view, static_cast<Qt::Key>(step.tileOrKey), step.modifiers);
            else
                press(step.kind == Step::Click ? Qt::LeftButton : Qt::RightButton,
                      tile(step.tileOrKey).center(), step.modifiers);
        }
        EXPECT_EQ(m_view.selectedRows(), c.selected) << c.name;
    }
}

TEST_F(ListViewTest, draggingFromEmptySpace_selectsTheTilesTheBandTouches) {
    addTiles(12);
    m_view.resize(409, 400); // room below the last row
    press(Qt::LeftButton, tile(0).center());
    const QPoint from(tile(11).right() + 10, tile(11).bottom() + 5); // empty, past the last tile
    ASSERT_FALSE(m_view.indexAt(from).isValid());
    QTest::mousePress(m_view.viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(tile(6).center()),
                     m_view.viewport()->mapToGlobal(QPointF(tile(6).center())), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_view.viewport(), &move);
    QTest::mouseRelease(m_view.viewport(), Qt::LeftButton, {}, tile(6).center());
    EXPECT_EQ(m_view.selectedRows(), (QList<int>{6, 7, 11})); // columns 1 and 2, rows 1 and 2
}

TEST_F(ListViewTest, ctrlC_asksForACopyInsteadOfCopyingTheCaption) {
    addTiles(2);
    press(Qt::LeftButton, tile(1).center());
    QSignalSpy copy(&m_view, &ListView::copyRequested);
    QTest::keyClick(&m_view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copy.count(), 1);
}

TEST_F(ListViewTest, colours_comeFromThePalette) {
    QPalette palette = m_view.palette();
    palette.setColor(QPalette::Base, QColor(255, 255, 0));
    palette.setColor(QPalette::Text, QColor(0, 0, 128));
    m_view.setPalette(palette);
    addTiles(1);

    const QImage image = painted();
    EXPECT_EQ(image.pixelColor(image.width() - 2, image.height() - 2), QColor(255, 255, 0));
    const QRect caption = boundsOf(
        image, tile(0), [](QColor c) { return c.blue() > 100 && c.red() < 60 && c.green() < 60; });
    EXPECT_GE(caption.width(), 20);
}

} // namespace
} // namespace orvu
