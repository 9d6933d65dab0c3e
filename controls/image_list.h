#pragma once

#include "controls/list_images.h"

#include <QObject>
#include <cstdint>

namespace orvu {

// An invisible image collection: pictures of one size under text keys,
// which a ListView can show as its tiles' icons.
class ImageList : public QObject {
    Q_OBJECT

public:
    static constexpr std::int16_t DefaultImageSize = 32;

    explicit ImageList(QObject* parent = nullptr);

    std::int16_t imageWidth() const;
    std::int16_t imageHeight() const;
    QSize imageSize() const { return m_images.imageSize(); }
    // False, and the size unchanged, for a size below 1 or when the
    // collection holds images (pictures keep the size they were added at).
    bool setImageWidth(std::int16_t width);
    bool setImageHeight(std::int16_t height);

    ListImages& listImages() { return m_images; }
    const ListImages& listImages() const { return m_images; }

signals:
    void imageSizeChanged(QSize size);

private:
    bool resize(QSize size);

    ListImages m_images;
};

} // namespace orvu
