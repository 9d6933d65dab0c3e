#pragma once

#include "harvest/tile_collection.h"

#include <QAbstractListModel>
#include <functional>

namespace orvu {

// The tiles as the icon list reads them: a row per tile, its caption as the
// text, its cell as the decoration (a QImage), and its tip, asked for only
// when it is shown. Rows follow the collection: appended, or all gone.
class TileListModel final : public QAbstractListModel, private TileListener {
    Q_OBJECT

public:
    TileListModel(TileCollection& tiles, QObject* parent = nullptr);
    ~TileListModel() override;

    // Where a row's tip comes from.
    std::function<QString(int row)> toolTipOf;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Tiles can be dragged out of the list.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // A harvest appends its tiles between two turns of the event loop and
    // repaints the preview at each icon, which paints whatever else is due
    // too. While held, appended rows are announced only when published (at a
    // yield, before a message, at the end), so that the list is painted once
    // per turn, not once per icon.
    void holdAppends() { m_holding = true; }
    void publishAppends();
    void releaseAppends();

private:
    void tilesAppended(std::size_t first, std::size_t count) override;
    void tilesCleared() override;

    TileCollection& m_tiles;
    int m_rows = 0; // the rows the views were told of
    bool m_holding = false;
};

} // namespace orvu
