#pragma once

#include "harvest/tile_collection.h"
#include "icons/png_decoder.h"

#include <QMimeData>
#include <QUrl>
#include <optional>
#include <vector>

namespace orvu {

// What copying or dragging tiles hands over: each tile's whole icon as an
// .ico file in `folder`, and for a single tile its largest image, as a
// picture and as PNG data. Nothing is read or written until a receiver asks
// for it, so that picking up a thousand tiles costs nothing until they are
// dropped.
class TileMimeData : public QMimeData {
    Q_OBJECT

public:
    TileMimeData(std::vector<Tile> tiles, const PngDecoder* png, QString folder);

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

    // The .ico files, written on first asking; tiles whose icons can't be
    // read again are left out.
    QList<QUrl> iconFiles() const;
    // The PNG of the single tile's largest image; empty for several tiles or
    // an icon that can't be read.
    QByteArray png() const;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    std::vector<Tile> m_tiles;
    const PngDecoder* m_png = nullptr;
    QString m_folder;
    mutable std::optional<QList<QUrl>> m_files;
    mutable std::optional<QByteArray> m_pngBytes;
};

} // namespace orvu
