#include "qt/qt_png_decoder.h"

#include "icons/limits.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

namespace orvu {

Result<IconBitmap> QtPngDecoder::decode(ByteView png) const {
    const QByteArray data = QByteArray::fromRawData(
        reinterpret_cast<const char*>(png.bytes().data()), static_cast<qsizetype>(png.size()));
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly))
        return undecodablePng();
    QImageReader reader(&buffer, "png");
    // Always Qt's own PNG handler: probing the image plugins for one that
    // claims the format would load every one of them.
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > limits::MaxImageSide ||
        size.height() > limits::MaxImageSide)
        return undecodablePng();
    QImage image;
    if (!reader.read(&image))
        return undecodablePng();
    image = image.convertToFormat(QImage::Format_ARGB32);

    IconBitmap bitmap;
    bitmap.width = image.width();
    bitmap.height = image.height();
    bitmap.pixels.resize(static_cast<std::size_t>(bitmap.width) *
                         static_cast<std::size_t>(bitmap.height));
    for (int y = 0; y < bitmap.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::copy(row, row + bitmap.width,
                  bitmap.pixels.begin() + static_cast<std::ptrdiff_t>(y) * bitmap.width);
    }
    return bitmap;
}

} // namespace orvu
