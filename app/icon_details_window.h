#pragma once

#include "harvest/icon_details.h"

#include <QPixmap>
#include <QWidget>

namespace orvu {

class Dialogs;
class ImageSheet;
class PushButton;
class TitleButton;

// The details of one icon, in the program's style: every image the icon
// holds at its natural size on a light checkerboard, each labelled with its
// size, depth and format and saved as PNG by its own button, the icon's file,
// position and resource name, and a button that saves the whole icon as
// .ico. It opens at once and decodes the images one by one afterwards, so a
// large PNG never holds up the window.
class IconDetailsWindow : public QWidget {
    Q_OBJECT

public:
    IconDetailsWindow(IconDetails details, Dialogs& dialogs, QWidget* owner);
    ~IconDetailsWindow() override;

    // Images decoded so far; each shows once it is.
    std::size_t imagesShown() const { return m_next; }
    const IconDetails& details() const { return m_details; }
    // The images with their labels and buttons.
    ImageSheet* images() const { return m_images; }
    PushButton* saveIconButton() const { return m_saveIcon; }
    TitleButton* closeButton() const { return m_close; }

    void saveImage(std::size_t i);
    void saveIcon();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void decodeNext();

    IconDetails m_details;
    Dialogs& m_dialogs;
    QPixmap m_background;
    TitleButton* m_close = nullptr;
    PushButton* m_saveIcon = nullptr;
    ImageSheet* m_images = nullptr;
    std::size_t m_next = 0; // the next image to decode
};

} // namespace orvu
