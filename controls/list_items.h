#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <optional>

namespace orvu {

// One tile of the list: its caption and the 1-based number of the picture it
// shows from the bound image collection.
struct ListItem {
    QString text;
    int icon = 0;

    friend bool operator==(const ListItem&, const ListItem&) = default;
};

// The items of a ListView, at 1-based positions, as a list model: the
// display role holds the text, IconRole the picture number. Items are only
// appended or all cleared.
class ListItems : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr int IconRole = Qt::UserRole + 1;

    explicit ListItems(QObject* parent = nullptr);

    // Appends an item; returns its position.
    int add(const QString& text, int icon);
    void clear();

    int count() const;
    // The item at a 1-based position; nullopt outside 1..count().
    std::optional<ListItem> item(int position) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    QList<ListItem> m_items;
};

} // namespace orvu
