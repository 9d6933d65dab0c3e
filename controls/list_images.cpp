#include "controls/list_images.h"

#include <utility>

namespace orvu {

ListImages::ListImages(QSize imageSize, QObject* parent)
    : QObject(parent), m_imageSize(imageSize) {}

bool ListImages::add(const QString& key, const QImage& picture) {
    if (picture.isNull() || m_keys.contains(key))
        return false;
    // copy() detaches: a picture painted on by its owner afterwards, or one
    // that wraps a foreign buffer, must not change what is stored here.
    QImage stored =
        picture.size() == m_imageSize
            ? picture.copy()
            : picture.scaled(m_imageSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_keys.insert(key);
    m_entries.append(Entry{key, std::move(stored)});
    emit imageAdded(count());
    return true;
}

void ListImages::clear() {
    m_entries.clear();
    m_keys.clear();
    emit cleared();
}

int ListImages::count() const {
    return static_cast<int>(m_entries.size());
}

bool ListImages::containsKey(const QString& key) const {
    return m_keys.contains(key);
}

QImage ListImages::item(int position) const {
    if (position < 1 || position > count())
        return {};
    return m_entries[position - 1].picture;
}

QString ListImages::key(int position) const {
    if (position < 1 || position > count())
        return {};
    return m_entries[position - 1].key;
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
