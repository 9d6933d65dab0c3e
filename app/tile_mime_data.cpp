#include "app/tile_mime_data.h"

#include "harvest/tile_actions.h"
#include "qt/qt_bridge.h"

#include <QImage>

namespace orvu {
namespace {

const QString UriList = QStringLiteral("text/uri-list");
const QString PngType = QStringLiteral("image/png");
const QString QtImage = QStringLiteral("application/x-qt-image");

} // namespace

TileMimeData::TileMimeData(std::vector<Tile> tiles, const PngDecoder* png, QString folder)
    : m_tiles(std::move(tiles)), m_png(png), m_folder(std::move(folder)) {}

QStringList TileMimeData::formats() const {
    QStringList types{UriList};
    if (m_tiles.size() == 1)
        types << PngType << QtImage;
    return types;
}

bool TileMimeData::hasFormat(const QString& mimeType) const {
    return formats().contains(mimeType);
}

QList<QUrl> TileMimeData::iconFiles() const {
    if (m_files)
        return *m_files;
    m_files.emplace();
    for (const std::filesystem::path& file : writeIconFiles(m_tiles, toPath(m_folder), m_png))
        m_files->append(QUrl::fromLocalFile(toDisplay(file)));
    return *m_files;
}

QByteArray TileMimeData::png() const {
    if (m_pngBytes)
        return *m_pngBytes;
    m_pngBytes.emplace();
    if (m_tiles.size() == 1) {
        if (const auto bytes = tileFileBytes(m_tiles[0], SaveFormat::Png, m_png))
            *m_pngBytes = toByteArray(bytes->bytes);
    }
    return *m_pngBytes;
}

QVariant TileMimeData::retrieveData(const QString& mimeType, QMetaType type) const {
    if (mimeType == UriList) {
        QVariantList urls;
        for (const QUrl& url : iconFiles())
            urls << url;
        return urls;
    }
    if (mimeType == PngType)
        return png();
    if (mimeType == QtImage && !png().isEmpty())
        return QImage::fromData(png(), "png");
    return QMimeData::retrieveData(mimeType, type);
}

} // namespace orvu
