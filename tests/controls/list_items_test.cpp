#include "controls/list_items.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace orvu {
namespace {

TEST(ListItems, add_appendsAtOneBasedPositions) {
    ListItems items;
    EXPECT_EQ(items.add(QStringLiteral("图标1"), 1), 1);
    EXPECT_EQ(items.add(QStringLiteral("图标2"), 2), 2);

    EXPECT_EQ(items.count(), 2);
    EXPECT_EQ(items.item(1), (ListItem{QStringLiteral("图标1"), 1}));
    EXPECT_EQ(items.item(2), (ListItem{QStringLiteral("图标2"), 2}));
}

TEST(ListItems, positionsOutsideTheList_giveNothing) {
    ListItems items;
    EXPECT_FALSE(items.item(1).has_value());
    items.add(QStringLiteral("图标1"), 1);
    EXPECT_FALSE(items.item(0).has_value());
    EXPECT_FALSE(items.item(2).has_value());
}

TEST(ListItems, icon_isKeptAsGivenEvenWithoutSuchAPicture) {
    ListItems items;
    items.add(QStringLiteral("图标7"), 70000);
    EXPECT_EQ(items.item(1)->icon, 70000);
}

TEST(ListItems, clear_emptiesTheList) {
    ListItems items;
    items.add(QStringLiteral("图标1"), 1);
    items.add(QStringLiteral("图标2"), 2);
    items.clear();
    EXPECT_EQ(items.count(), 0);
    EXPECT_FALSE(items.item(1).has_value());
    EXPECT_EQ(items.add(QStringLiteral("图标1"), 1), 1);
}

TEST(ListItems, asAModel_rowsCarryTextAndIconNumber) {
    ListItems items;
    QSignalSpy inserted(&items, &QAbstractItemModel::rowsInserted);
    items.add(QStringLiteral("图标1"), 1);
    items.add(QStringLiteral("图标2"), 5);

    ASSERT_EQ(inserted.count(), 2);
    EXPECT_EQ(inserted.at(1).at(1).toInt(), 1); // second item is row 1
    EXPECT_EQ(items.rowCount(), 2);
    const QModelIndex second = items.index(1, 0);
    EXPECT_EQ(second.data(Qt::DisplayRole).toString(), QStringLiteral("图标2"));
    EXPECT_EQ(second.data(ListItems::IconRole).toInt(), 5);
    EXPECT_EQ(items.rowCount(second), 0); // a flat list
}

} // namespace
} // namespace orvu
