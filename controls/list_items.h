#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace orvu {

// One tile of the list: its caption and the index of the picture it shows
// from the bound image collection.
struct ListItem {
    QString text;
    int image = 0;

    friend bool operator==(const ListItem&, const ListItem&) = default;
};

// The items of a ListView as a list model: the display role holds the text,
// ImageRole the picture's index. Items are only appended or all cleared.
class ListItems : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr int ImageRole = Qt::UserRole + 1;

    explicit ListItems(QObject* parent = nullptr);

    // Appends an item; returns its index.
    int add(const QString& text, int image);
    void clear();

    int count() const;
    // The item at an index; nullopt outside 0..count()-1.
    std::optional<ListItem> item(int index) const;
    // Where an item's tip comes from, asked only when the tip is shown.
    void setToolTips(std::function<QString(int index)> toolTipOf) {
        m_toolTipOf = std::move(toolTipOf);
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Items can be dragged out of the list.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    QList<ListItem> m_items;
    std::function<QString(int)> m_toolTipOf;
};

} // namespace orvu
