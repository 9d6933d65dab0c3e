#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>

namespace orvu {

// The pictures of an image collection, each under a text key of its own, in
// the order they were added since the last clear (indices from 0).
//
// Pictures with the same pixels are stored once and shared: real folders
// repeat the same icons across many executables, and a hostile file may
// repeat one image thousands of times.
class ListImages : public QObject {
    Q_OBJECT

public:
    explicit ListImages(QSize imageSize, QObject* parent = nullptr);

    // Appends a copy of the picture, fitted to the image size. False, and
    // nothing added, when the key is already in the collection or the
    // picture is null.
    bool add(const QString& key, const QImage& picture);
    void clear();

    int count() const;
    // The picture at an index; a null image outside 0..count()-1.
    QImage item(int index) const;
    // The key at an index; empty outside 0..count()-1.
    QString key(int index) const;
    // How many different pictures the collection holds.
    int distinctCount() const { return static_cast<int>(m_distinct.size()); }

    QSize imageSize() const { return m_imageSize; }
    // Pictures keep the size they were added at, so the size can change
    // only while the collection is empty. False, size unchanged, otherwise.
    bool setImageSize(QSize size);

signals:
    void imageAdded(int index);
    void cleared();

private:
    struct Entry {
        QString key;
        QImage picture;
    };

    // The stored picture with the same pixels as `picture`, or `picture`
    // itself, which is then kept as a new one.
    QImage shared(QImage picture);

    QSize m_imageSize;
    QList<Entry> m_entries;
    QSet<QString> m_keys;
    QMultiHash<std::size_t, QImage> m_distinct; // by a hash of the pixels
};

} // namespace orvu
