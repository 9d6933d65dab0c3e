#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>

namespace orvu {

// The pictures of an image collection, each under a text key of its own, at
// 1-based positions in the order they were added since the last clear.
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
    bool containsKey(const QString& key) const;
    // The picture at a 1-based position; a null image outside 1..count().
    QImage item(int position) const;
    // The key at a 1-based position; empty outside 1..count().
    QString key(int position) const;

    QSize imageSize() const { return m_imageSize; }
    // Pictures keep the size they were added at, so the size can change
    // only while the collection is empty. False, size unchanged, otherwise.
    bool setImageSize(QSize size);

signals:
    void imageAdded(int position);
    void cleared();

private:
    struct Entry {
        QString key;
        QImage picture;
    };

    QSize m_imageSize;
    QList<Entry> m_entries;
    QSet<QString> m_keys;
};

} // namespace orvu
