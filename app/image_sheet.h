#pragma once

#include "harvest/image_grid.h"
#include "icons/icon_library.h"

#include <QAbstractScrollArea>
#include <QPixmap>
#include <optional>
#include <vector>

namespace orvu {

// The images of an icon in a flowing grid, the small ones side by side and
// the large ones each on a row of its own: each picture on a light
// checkerboard, below it its label, a second line for why it can't be shown,
// and a button that saves it. The grid is laid out from the sizes the icon's
// directory gives (again when the width changes), and only the rows in view
// are drawn, so that an icon of the most images a directory can list
// (65 535) opens and scrolls at once.
class ImageSheet : public QAbstractScrollArea {
    Q_OBJECT

public:
    // `labels` has one text per image; `saveCaption` is the buttons' caption.
    ImageSheet(const std::vector<ImageDescription>& images, std::vector<QString> labels,
               QString saveCaption, QWidget* parent = nullptr);

    std::size_t count() const { return m_rows.size(); }
    // The height that shows every image at this width, without scrolling.
    int heightFor(int width) const;
    // Image i decoded: its picture shows (within its room, scaled down where
    // it is larger; a picture with a device pixel ratio at that ratio) and
    // its button saves it.
    void setPicture(std::size_t i, const QPixmap& picture);
    // Image i can't be shown: why, on its second line.
    void setFailure(std::size_t i, const QString& reason);

    QPixmap picture(std::size_t i) const { return m_rows.at(i).picture; }
    QString label(std::size_t i) const;
    bool canSave(std::size_t i) const { return !m_rows.at(i).picture.isNull(); }
    // Where image i's button is in the viewport now (scrolled into view
    // first by scrollTo).
    QRect saveButtonRect(std::size_t i) const;
    void scrollTo(std::size_t i);

signals:
    void saveRequested(std::size_t i);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    struct Row {    // one image
        QSize room; // for the picture: imageGrid::pictureRoom
        int textWidth = 0;
        QString label;
        QString failure;
        QPixmap picture;
    };

    // The image whose button is under `point` (viewport coordinates).
    std::optional<std::size_t> buttonAt(QPoint point) const;
    // Image i's cell in the viewport now, as tall as its grid row, and the
    // top of its texts, which line up along the row below its pictures.
    QRect cellRect(std::size_t i) const;
    int textTop(std::size_t i) const;
    std::vector<imageGrid::Cell> cells() const;
    void layOut();
    void updateScrollBar();
    void updateRow(std::size_t i);

    std::vector<Row> m_rows;
    imageGrid::Layout m_layout;
    QString m_saveCaption;
    int m_lineHeight = 0;
    int m_textHeight = 0; // from a picture's bottom to its cell's
    int m_height = 0;
    QSize m_button;
    std::optional<std::size_t> m_hovered;
    std::optional<std::size_t> m_pressed;
};

} // namespace orvu
