#include "controls/image_list.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace orvu {
namespace {

QImage solid(QColor colour, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(ImageList, newCollection_isEmptyWith32By32Images) {
    ImageList images;
    EXPECT_EQ(images.imageWidth(), 32);
    EXPECT_EQ(images.imageHeight(), 32);
    EXPECT_EQ(images.listImages().count(), 0);
}

TEST(ImageList, imageSize_isWhatAddedPicturesAreFittedTo) {
    ImageList images;
    ASSERT_TRUE(images.setImageWidth(16));
    ASSERT_TRUE(images.setImageHeight(24));
    images.listImages().add(QStringLiteral("my0"), solid(Qt::red, QSize(32, 32)));
    EXPECT_EQ(images.listImages().item(0).size(), QSize(16, 24));
}

TEST(ImageList, imageSize_isRefusedWhileTheCollectionHoldsPictures) {
    ImageList images;
    images.listImages().add(QStringLiteral("my0"), solid(Qt::red, QSize(32, 32)));
    QSignalSpy resized(&images, &ImageList::imageSizeChanged);

    EXPECT_FALSE(images.setImageWidth(48));
    EXPECT_TRUE(images.setImageHeight(32)); // the size it already has
    EXPECT_EQ(images.imageSize(), QSize(32, 32));
    EXPECT_EQ(resized.count(), 0);

    images.listImages().clear();
    EXPECT_TRUE(images.setImageWidth(48));
    EXPECT_EQ(resized.count(), 1);
    EXPECT_EQ(images.imageSize(), QSize(48, 32));
}

TEST(ImageList, sizeBelowOnePixel_isRefused) {
    ImageList images;
    EXPECT_FALSE(images.setImageWidth(0));
    EXPECT_FALSE(images.setImageHeight(-32));
    EXPECT_EQ(images.imageSize(), QSize(32, 32));
}

TEST(ImageList, sizeSetTo32AsAtEveryStart_keepsPicturesAt32) {
    ImageList images;
    images.setImageWidth(16);
    images.setImageHeight(16);
    ASSERT_TRUE(images.setImageWidth(32));
    ASSERT_TRUE(images.setImageHeight(32));
    images.listImages().add(QStringLiteral("my0"), solid(Qt::red, QSize(48, 48)));
    EXPECT_EQ(images.listImages().item(0).size(), QSize(32, 32));
}

} // namespace
} // namespace orvu
