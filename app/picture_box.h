#pragma once

#include <QImage>
#include <QWidget>

namespace orvu {

// A picture box: a flat surface that keeps what is drawn on it in a
// persistent image and shows that image; outside the image, its back colour.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setBackColor(const QColor& colour);
    QColor backColor() const { return m_backColor; }

    // The persistent image, `pixelRatio` of its pixels to a pixel of the
    // box (the screen's density, for an image drawn for it: copied to the
    // screen pixel for pixel); setImage() repaints when the window next
    // paints, refresh() at once.
    void setImage(const QImage& image, qreal pixelRatio = 1);
    const QImage& image() const { return m_image; }
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_backColor = Qt::white;
    QImage m_image;
    qreal m_pixelRatio = 1;
};

} // namespace orvu
