#include "controls/list_items.h"

namespace orvu {

ListItems::ListItems(QObject* parent) : QAbstractListModel(parent) {}

int ListItems::add(const QString& text, int icon) {
    const int row = count();
    beginInsertRows(QModelIndex(), row, row);
    m_items.append(ListItem{text, icon});
    endInsertRows();
    return row + 1;
}

void ListItems::clear() {
    beginResetModel();
    m_items.clear();
    endResetModel();
}

int ListItems::count() const {
    return static_cast<int>(m_items.size());
}

std::optional<ListItem> ListItems::item(int position) const {
    if (position < 1 || position > count())
        return std::nullopt;
    return m_items[position - 1];
}

int ListItems::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant ListItems::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ListItem& entry = m_items[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return entry.text;
    case IconRole:
        return entry.icon;
    default:
        return {};
    }
}

QHash<int, QByteArray> ListItems::roleNames() const {
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(IconRole, "icon");
    return names;
}

} // namespace orvu
