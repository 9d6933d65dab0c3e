#include "controls/list_images.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <vector>

namespace orvu {
namespace {

QImage solid(QColor colour, QSize size = QSize(32, 32)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QColor centreOf(const QImage& image) {
    return QColor(image.pixel(image.width() / 2, image.height() / 2));
}

class ListImagesTest : public ::testing::Test {
protected:
    ListImages m_images{QSize(32, 32)};
};

TEST_F(ListImagesTest, pictures_areIndexedInOrderOfAddition) {
    ASSERT_TRUE(m_images.add(QStringLiteral("my0"), solid(Qt::red)));
    ASSERT_TRUE(m_images.add(QStringLiteral("my1"), solid(Qt::green)));
    ASSERT_TRUE(m_images.add(QStringLiteral("my2"), solid(Qt::blue)));

    EXPECT_EQ(m_images.count(), 3);
    EXPECT_EQ(centreOf(m_images.item(0)), QColor(Qt::red));
    EXPECT_EQ(centreOf(m_images.item(1)), QColor(Qt::green));
    EXPECT_EQ(centreOf(m_images.item(2)), QColor(Qt::blue));
    EXPECT_EQ(m_images.key(0), QStringLiteral("my0"));
    EXPECT_EQ(m_images.key(2), QStringLiteral("my2"));
}

TEST_F(ListImagesTest, indicesOutsideTheCollection_giveNothing) {
    m_images.add(QStringLiteral("my0"), solid(Qt::red));
    EXPECT_TRUE(m_images.item(1).isNull());
    EXPECT_TRUE(m_images.item(-1).isNull());
    EXPECT_TRUE(m_images.key(-1).isEmpty());
    EXPECT_TRUE(m_images.key(1).isEmpty());
    EXPECT_TRUE(ListImages(QSize(32, 32)).item(0).isNull());
}

TEST_F(ListImagesTest, keyAlreadyPresent_isRefusedAndTheCollectionStaysAsItWas) {
    m_images.add(QStringLiteral("my0"), solid(Qt::red));
    m_images.add(QStringLiteral("my1"), solid(Qt::green));
    QSignalSpy added(&m_images, &ListImages::imageAdded);

    EXPECT_FALSE(m_images.add(QStringLiteral("my0"), solid(Qt::blue)));

    EXPECT_EQ(added.count(), 0);
    EXPECT_EQ(m_images.count(), 2);
    EXPECT_EQ(centreOf(m_images.item(0)), QColor(Qt::red));
    EXPECT_EQ(centreOf(m_images.item(1)), QColor(Qt::green));
    EXPECT_TRUE(m_images.item(2).isNull());
}

TEST_F(ListImagesTest, keysThatOnlyShareAPrefix_areDistinct) {
    EXPECT_TRUE(m_images.add(QStringLiteral("my1"), solid(Qt::red)));
    EXPECT_TRUE(m_images.add(QStringLiteral("my10"), solid(Qt::red)));
    EXPECT_TRUE(m_images.add(QStringLiteral("my"), solid(Qt::red)));
    EXPECT_EQ(m_images.count(), 3);
}

TEST_F(ListImagesTest, nullPicture_isRefusedAndLeavesItsKeyFree) {
    EXPECT_FALSE(m_images.add(QStringLiteral("my0"), QImage()));
    EXPECT_EQ(m_images.count(), 0);
    EXPECT_TRUE(m_images.add(QStringLiteral("my0"), solid(Qt::red)));
}

TEST_F(ListImagesTest, clear_emptiesTheCollectionAndFreesItsKeys) {
    m_images.add(QStringLiteral("my0"), solid(Qt::red));
    m_images.add(QStringLiteral("my1"), solid(Qt::green));
    QSignalSpy cleared(&m_images, &ListImages::cleared);

    m_images.clear();

    EXPECT_EQ(cleared.count(), 1);
    EXPECT_EQ(m_images.count(), 0);
    EXPECT_TRUE(m_images.item(0).isNull());
    EXPECT_EQ(m_images.distinctCount(), 0);
    ASSERT_TRUE(m_images.add(QStringLiteral("my1"), solid(Qt::blue)));
    EXPECT_EQ(m_images.count(), 1);
    EXPECT_EQ(centreOf(m_images.item(0)), QColor(Qt::blue));
}

TEST_F(ListImagesTest, add_reportsTheIndexOfTheNewPicture) {
    QSignalSpy added(&m_images, &ListImages::imageAdded);
    m_images.add(QStringLiteral("my0"), solid(Qt::red));
    m_images.add(QStringLiteral("my1"), solid(Qt::red));
    ASSERT_EQ(added.count(), 2);
    EXPECT_EQ(added.at(0).at(0).toInt(), 0);
    EXPECT_EQ(added.at(1).at(0).toInt(), 1);
}

TEST_F(ListImagesTest, identicalPictures_areStoredOnceEachUnderItsKey) {
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(m_images.add(QStringLiteral("my%1").arg(i), solid(i % 2 ? Qt::red : Qt::blue)));
    QImage oneOff = solid(Qt::red);
    oneOff.setPixel(31, 31, qRgb(255, 0, 1)); // differs in one pixel only
    ASSERT_TRUE(m_images.add(QStringLiteral("odd"), oneOff));
    EXPECT_EQ(m_images.count(), 1001);
    EXPECT_EQ(m_images.distinctCount(), 3);
    EXPECT_EQ(centreOf(m_images.item(998)), QColor(Qt::blue));
    EXPECT_EQ(m_images.item(999).constBits(), m_images.item(1).constBits()); // shared, not copied
    EXPECT_EQ(m_images.item(1000).pixel(31, 31), qRgb(255, 0, 1));
    EXPECT_EQ(m_images.key(999), QStringLiteral("my999"));
}

TEST_F(ListImagesTest, largerPicture_isFittedToTheImageSize) {
    m_images.add(QStringLiteral("my0"), solid(Qt::red, QSize(48, 48)));
    EXPECT_EQ(m_images.item(0).size(), QSize(32, 32));
    EXPECT_EQ(centreOf(m_images.item(0)), QColor(Qt::red));
}

TEST_F(ListImagesTest, smallerPicture_isStretchedOverTheWholeImage) {
    QImage quarters(16, 16, QImage::Format_RGB32);
    quarters.fill(Qt::red);
    for (int y = 8; y < 16; ++y)
        for (int x = 8; x < 16; ++x)
            quarters.setPixelColor(x, y, Qt::blue);
    m_images.add(QStringLiteral("my0"), quarters);

    const QImage stored = m_images.item(0);
    ASSERT_EQ(stored.size(), QSize(32, 32));
    EXPECT_EQ(stored.pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(stored.pixelColor(29, 29), QColor(Qt::blue));
    EXPECT_EQ(stored.pixelColor(29, 2), QColor(Qt::red));
}

TEST_F(ListImagesTest, storedPicture_doesNotFollowLaterChangesOfTheSource) {
    QImage surface = solid(Qt::red);
    m_images.add(QStringLiteral("my0"), surface);
    surface.fill(Qt::green);
    EXPECT_EQ(centreOf(m_images.item(0)), QColor(Qt::red));

    // A picture over a buffer it doesn't own.
    std::vector<uint> pixels(32 * 32, qRgb(0, 0, 255));
    const QImage wrapped(reinterpret_cast<const uchar*>(pixels.data()), 32, 32,
                         QImage::Format_RGB32);
    m_images.add(QStringLiteral("my1"), wrapped);
    std::fill(pixels.begin(), pixels.end(), qRgb(255, 255, 0));
    EXPECT_EQ(centreOf(m_images.item(1)), QColor(Qt::blue));
}

TEST_F(ListImagesTest, imageSize_canChangeOnlyWhileEmpty) {
    ASSERT_TRUE(m_images.setImageSize(QSize(16, 16)));
    m_images.add(QStringLiteral("my0"), solid(Qt::red));
    EXPECT_EQ(m_images.item(0).size(), QSize(16, 16));

    EXPECT_FALSE(m_images.setImageSize(QSize(32, 32)));
    EXPECT_EQ(m_images.imageSize(), QSize(16, 16));
    EXPECT_TRUE(m_images.setImageSize(QSize(16, 16))); // no change at all is fine

    m_images.clear();
    EXPECT_TRUE(m_images.setImageSize(QSize(32, 32)));
}

TEST_F(ListImagesTest, collection_countsPastTheSixteenBitRange) {
    ASSERT_TRUE(m_images.setImageSize(QSize(1, 1)));
    const QImage dot = solid(Qt::red, QSize(1, 1));
    constexpr int Total = 40000;
    for (int i = 0; i < Total; ++i)
        ASSERT_TRUE(m_images.add(QStringLiteral("my%1").arg(i), dot));
    EXPECT_EQ(m_images.count(), Total);
    EXPECT_EQ(m_images.key(Total - 1), QStringLiteral("my%1").arg(Total - 1));
    EXPECT_FALSE(m_images.add(QStringLiteral("my12345"), dot));
    EXPECT_FALSE(m_images.item(Total - 1).isNull());
}

} // namespace
} // namespace orvu
