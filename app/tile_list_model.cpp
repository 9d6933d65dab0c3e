#include "app/tile_list_model.h"

#include "qt/qt_bridge.h"

#include <algorithm>
#include <cmath>

namespace orvu {
namespace {

// The longest one slice of drawing keeps the window from its events.
constexpr std::chrono::milliseconds SliceTime(8);

} // namespace

TileListModel::TileListModel(TileCollection& tiles, const PngDecoder* png, QObject* parent)
    : QAbstractListModel(parent), m_tiles(tiles), m_rows(static_cast<int>(tiles.size())),
      m_redraw(tiles, png) {
    m_tiles.setListener(this);
    m_slices.setSingleShot(true);
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &TileListModel::drawSlice);
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
        return picture(row);
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
    if (m_captionsChanged) {
        const auto [first, last] = *std::exchange(m_captionsChanged, std::nullopt);
        emit dataChanged(index(first), index(last), {Qt::DisplayRole});
    }
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

void TileListModel::setPixelRatio(qreal ratio) {
    const int size = std::max(1, static_cast<int>(std::lround(CellSize * ratio)));
    if (size == m_redraw.size())
        return;
    m_redraw.setSize(size);
    m_slices.stop();
    // The list paints its visible tiles again, which asks for them first.
    if (m_rows > 0)
        emit dataChanged(index(0), index(m_rows - 1), {Qt::DecorationRole});
}

QImage TileListModel::picture(std::size_t row) const {
    const int size = m_redraw.size();
    if (size != CellSize) {
        const TileCollection::SizedCell sharp = m_tiles.cellAt(row, size);
        if (sharp.state == TileCollection::SizedCell::State::Drawn) {
            QImage image = toQImage(*sharp.cell);
            image.setDevicePixelRatio(static_cast<qreal>(size) / CellSize);
            return image;
        }
        if (sharp.state == TileCollection::SizedCell::State::Missing) {
            m_redraw.request(row);
            if (!m_slices.isActive())
                m_slices.start();
        }
    }
    return toQImage(m_tiles.cell(row));
}

void TileListModel::drawSlice() {
    const std::vector<std::size_t> drawn = m_redraw.drawFor(SliceTime);
    if (!drawn.empty()) {
        const auto [first, last] = std::minmax_element(drawn.begin(), drawn.end());
        const int top = std::min(static_cast<int>(*last), m_rows - 1);
        if (top >= static_cast<int>(*first))
            emit dataChanged(index(static_cast<int>(*first)), index(top), {Qt::DecorationRole});
    }
    if (m_redraw.pending())
        m_slices.start();
}

void TileListModel::tileCaptionChanged(std::size_t row) {
    // A row not announced yet shows its caption when it is.
    if (row >= static_cast<std::size_t>(m_rows))
        return;
    const int changed = static_cast<int>(row);
    m_captionsChanged = m_captionsChanged ? std::pair(std::min(m_captionsChanged->first, changed),
                                                      std::max(m_captionsChanged->second, changed))
                                          : std::pair(changed, changed);
    if (!m_holding)
        publishAppends();
}

void TileListModel::tilesCleared() {
    m_captionsChanged.reset();
    m_redraw.clear();
    m_slices.stop();
    beginResetModel();
    m_rows = 0;
    endResetModel();
}

} // namespace orvu
