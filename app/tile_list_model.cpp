#include "app/tile_list_model.h"

#include "qt/qt_bridge.h"

namespace orvu {

TileListModel::TileListModel(TileCollection& tiles, QObject* parent)
    : QAbstractListModel(parent), m_tiles(tiles), m_rows(static_cast<int>(tiles.size())) {
    m_tiles.setListener(this);
}

TileListModel::~TileListModel() {
    m_tiles.setListener(nullptr);
}

int TileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

QVariant TileListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        static_cast<std::size_t>(index.row()) >= m_tiles.size())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return fromUtf8(m_tiles.caption(row));
    case Qt::DecorationRole:
        return toQImage(m_tiles.cell(row));
    case Qt::ToolTipRole:
        return toolTipOf ? QVariant(toolTipOf(index.row())) : QVariant();
    default:
        return {};
    }
}

Qt::ItemFlags TileListModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags plain = QAbstractListModel::flags(index);
    return index.isValid() ? plain | Qt::ItemIsDragEnabled : plain;
}

void TileListModel::tilesAppended(std::size_t, std::size_t) {
    if (!m_holding)
        publishAppends();
}

void TileListModel::publishAppends() {
    const int rows = static_cast<int>(m_tiles.size());
    if (rows <= m_rows)
        return;
    beginInsertRows(QModelIndex(), m_rows, rows - 1);
    m_rows = rows;
    endInsertRows();
}

void TileListModel::releaseAppends() {
    m_holding = false;
    publishAppends();
}

void TileListModel::tilesCleared() {
    beginResetModel();
    m_rows = 0;
    endResetModel();
}

} // namespace orvu
