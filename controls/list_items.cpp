#include "controls/list_items.h"

namespace orvu {

ListItems::ListItems(QObject* parent) : QAbstractListModel(parent) {}

int ListItems::add(const QString& text, int image) {
    const int row = count();
    beginInsertRows(QModelIndex(), row, row);
    m_items.append(ListItem{text, image});
    endInsertRows();
    return row;
}

void ListItems::clear() {
    beginResetModel();
    m_items.clear();
    endResetModel();
}

int ListItems::count() const {
    return static_cast<int>(m_items.size());
}

std::optional<ListItem> ListItems::item(int index) const {
    if (index < 0 || index >= count())
        return std::nullopt;
    return m_items[index];
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
    case ImageRole:
        return entry.image;
    case Qt::ToolTipRole:
        return m_toolTipOf ? QVariant(m_toolTipOf(index.row())) : QVariant();
    default:
        return {};
    }
}

Qt::ItemFlags ListItems::flags(const QModelIndex& index) const {
    const Qt::ItemFlags plain = QAbstractListModel::flags(index);
    return index.isValid() ? plain | Qt::ItemIsDragEnabled : plain;
}

QHash<int, QByteArray> ListItems::roleNames() const {
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(ImageRole, "image");
    return names;
}

} // namespace orvu
