#include "controls/image_list.h"

namespace orvu {

ImageList::ImageList(QObject* parent)
    : QObject(parent), m_images(QSize(DefaultImageSize, DefaultImageSize)) {}

std::int16_t ImageList::imageWidth() const {
    return static_cast<std::int16_t>(m_images.imageSize().width());
}

std::int16_t ImageList::imageHeight() const {
    return static_cast<std::int16_t>(m_images.imageSize().height());
}

bool ImageList::setImageWidth(std::int16_t width) {
    return resize(QSize(width, m_images.imageSize().height()));
}

bool ImageList::setImageHeight(std::int16_t height) {
    return resize(QSize(m_images.imageSize().width(), height));
}

bool ImageList::resize(QSize size) {
    const QSize before = m_images.imageSize();
    if (!m_images.setImageSize(size))
        return false;
    if (size != before)
        emit imageSizeChanged(size);
    return true;
}

} // namespace orvu
