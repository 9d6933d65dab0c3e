#pragma once

#include "harvest/tile_collection.h"
#include "harvest/tile_redraw.h"

#include <QAbstractListModel>
#include <QTimer>
#include <functional>
#include <optional>
#include <utility>

namespace orvu {

// The tiles as the icon list reads them: a row per tile, its caption as the
// text, its cell as the decoration (a QImage), and its tip, asked for only
// when it is shown. Rows follow the collection: appended, or all gone; a
// row's caption changes when it counts another copy of its icon.
//
// On a screen of r device pixels a pixel the decoration is the tile's icon
// drawn at pictureSize() = round(32 r) pixels, with that device pixel ratio,
// so that it shows at 32 x 32 as Windows draws it for that screen. Cells not
// drawn at that size yet are drawn when they are first asked for, a slice at
// a time on the event loop, and meanwhile the 32 x 32 cell shows, scaled.
class TileListModel final : public QAbstractListModel, private TileListener {
    Q_OBJECT

public:
    TileListModel(TileCollection& tiles, const PngDecoder* png, QObject* parent = nullptr);
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

    // The screen's density; at another one the tiles are drawn again.
    void setPixelRatio(qreal ratio);
    int pictureSize() const { return m_redraw.size(); }
    // Whether tiles asked for are still waiting to be drawn.
    bool redrawing() const { return m_redraw.pending(); }

private:
    void tilesAppended(std::size_t first, std::size_t count) override;
    void tilesCleared() override;
    void tileCaptionChanged(std::size_t row) override;
    QImage picture(std::size_t row) const;
    void drawSlice();

    TileCollection& m_tiles;
    int m_rows = 0; // the rows the views were told of
    // The rows whose captions changed since the views were last told, held
    // as the appended rows are.
    std::optional<std::pair<int, int>> m_captionsChanged;
    bool m_holding = false;
    mutable TileRedraw m_redraw;
    mutable QTimer m_slices;
};

} // namespace orvu
