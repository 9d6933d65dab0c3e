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

    // The persistent image; setImage() repaints when the window next paints,
    // refresh() at once.
    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_backColor = Qt::white;
    QImage m_image;
};

} // namespace orvu
