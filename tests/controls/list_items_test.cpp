#include "controls/list_items.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace orvu {
namespace {

TEST(ListItems, add_appendsAndReturnsTheIndex) {
    ListItems items;
    EXPECT_EQ(items.add(QStringLiteral("图标1"), 0), 0);
    EXPECT_EQ(items.add(QStringLiteral("图标2"), 1), 1);

    EXPECT_EQ(items.count(), 2);
    EXPECT_EQ(items.item(0), (ListItem{QStringLiteral("图标1"), 0}));
    EXPECT_EQ(items.item(1), (ListItem{QStringLiteral("图标2"), 1}));
}

TEST(ListItems, indicesOutsideTheList_giveNothing) {
    ListItems items;
    EXPECT_FALSE(items.item(0).has_value());
    items.add(QStringLiteral("图标1"), 0);
    EXPECT_FALSE(items.item(-1).has_value());
    EXPECT_FALSE(items.item(1).has_value());
}

TEST(ListItems, image_isKeptAsGivenEvenWithoutSuchAPicture) {
    ListItems items;
    items.add(QStringLiteral("图标7"), 70000);
    EXPECT_EQ(items.item(0)->image, 70000);
}

TEST(ListItems, clear_emptiesTheList) {
    ListItems items;
    items.add(QStringLiteral("图标1"), 0);
    items.add(QStringLiteral("图标2"), 1);
    items.clear();
    EXPECT_EQ(items.count(), 0);
    EXPECT_FALSE(items.item(0).has_value());
    EXPECT_EQ(items.add(QStringLiteral("图标1"), 0), 0);
}

TEST(ListItems, asAModel_rowsCarryTextAndImageIndex) {
    ListItems items;
    QSignalSpy inserted(&items, &QAbstractItemModel::rowsInserted);
    items.add(QStringLiteral("图标1"), 0);
    items.add(QStringLiteral("图标2"), 5);

    ASSERT_EQ(inserted.count(), 2);
    EXPECT_EQ(inserted.at(1).at(1).toInt(), 1); // second item is row 1
    EXPECT_EQ(items.rowCount(), 2);
    const QModelIndex second = items.index(1, 0);
    EXPECT_EQ(second.data(Qt::DisplayRole).toString(), QStringLiteral("图标2"));
    EXPECT_EQ(second.data(ListItems::ImageRole).toInt(), 5);
    EXPECT_EQ(items.rowCount(second), 0); // a flat list
}

} // namespace
} // namespace orvu
