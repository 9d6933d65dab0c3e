#include "qt/qt_bridge.h"

#include <QFile>
#include <algorithm>

namespace orvu {

std::filesystem::path toPath(const QString& text) {
#ifdef _WIN32
    return std::filesystem::path(text.toStdWString());
#else
    const QByteArray name = QFile::encodeName(text);
    return std::filesystem::path(
        std::string(name.constData(), static_cast<std::size_t>(name.size())));
#endif
}

QString toDisplay(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    const std::string& name = path.native();
    return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
#endif
}

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QImage toQImage(const Surface& surface) {
    QImage image(surface.width, surface.height, QImage::Format_RGB32);
    for (int y = 0; y < surface.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < surface.width; ++x)
            row[x] = 0xFF000000u | surface.pixel(x, y);
    }
    return image;
}

QImage toQImage(const IconBitmap& bitmap) {
    QImage image(bitmap.width, bitmap.height, QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height; ++y)
        std::copy_n(bitmap.pixels.begin() + static_cast<std::ptrdiff_t>(y) * bitmap.width,
                    bitmap.width, reinterpret_cast<QRgb*>(image.scanLine(y)));
    return image;
}

QByteArray toByteArray(const std::vector<std::uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

} // namespace orvu
