#include "controls/list_images.h"

#include <cstring>
#include <utility>

namespace orvu {
namespace {

std::size_t pixelHash(const QImage& picture) {
    return qHashBits(picture.constBits(), static_cast<std::size_t>(picture.sizeInBytes()));
}

bool samePixels(const QImage& a, const QImage& b) {
    return a.size() == b.size() && a.format() == b.format() &&
           a.bytesPerLine() == b.bytesPerLine() &&
           std::memcmp(a.constBits(), b.constBits(), static_cast<std::size_t>(a.sizeInBytes())) ==
               0;
}

} // namespace

ListImages::ListImages(QSize imageSize, QObject* parent)
    : QObject(parent), m_imageSize(imageSize) {}

bool ListImages::add(const QString& key, const QImage& picture) {
    if (picture.isNull() || m_keys.contains(key))
        return false;
    // copy() detaches: a picture painted on by its owner afterwards, or one
    // that wraps a foreign buffer, must not change what is stored here.
    QImage fitted =
        picture.size() == m_imageSize
            ? picture.copy()
            : picture.scaled(m_imageSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_keys.insert(key);
    m_entries.append(Entry{key, shared(std::move(fitted))});
    emit imageAdded(count() - 1);
    return true;
}

QImage ListImages::shared(QImage picture) {
    const std::size_t hash = pixelHash(picture);
    for (auto it = m_distinct.constFind(hash); it != m_distinct.cend() && it.key() == hash; ++it) {
        if (samePixels(*it, picture))
            return *it;
    }
    m_distinct.insert(hash, picture);
    return picture;
}

void ListImages::clear() {
    m_entries.clear();
    m_keys.clear();
    m_distinct.clear();
    emit cleared();
}

int ListImages::count() const {
    return static_cast<int>(m_entries.size());
}

QImage ListImages::item(int index) const {
    if (index < 0 || index >= count())
        return {};
    return m_entries[index].picture;
}

QString ListImages::key(int index) const {
    if (index < 0 || index >= count())
        return {};
    return m_entries[index].key;
}

bool ListImages::setImageSize(QSize size) {
    if (size == m_imageSize)
        return true;
    if (!m_entries.isEmpty() || size.isEmpty())
        return false;
    m_imageSize = size;
    return true;
}

} // namespace orvu
