#pragma once

#include "harvest/icon_details.h"

#include <QPixmap>
#include <QWidget>

class QLabel;
class QTimer;

namespace orvu {

class Asker;
class ImageSheet;
class PushButton;
class TitleButton;

// The details of one icon, in the program's style: every image the icon
// holds at its natural size on a light checkerboard, each labelled with its
// size, depth and format and saved as PNG by its own button, the icon's file,
// position and resource name, and a button that saves the whole icon as
// .ico. It opens at once and decodes the images one by one afterwards, so a
// large PNG never holds up the window. A cursor's images show its hotspot as
// a small cross and say where it is; an animated cursor also plays, each
// step for as long as its rate says, until the window closes.
class IconDetailsWindow : public QWidget {
    Q_OBJECT

public:
    IconDetailsWindow(IconDetails details, Asker& asker, QWidget* owner);
    ~IconDetailsWindow() override;

    // Images decoded so far; each shows once it is.
    std::size_t imagesShown() const { return m_next; }
    const IconDetails& details() const { return m_details; }
    // The images with their labels and buttons.
    ImageSheet* images() const { return m_images; }
    PushButton* saveIconButton() const { return m_saveIcon; }
    // The playing animation and its step's hotspot (null for a still one).
    QLabel* player() const { return m_player; }
    QLabel* playerHotspot() const { return m_playerHotspot; }
    // The step the player shows.
    std::size_t step() const { return m_step; }
    TitleButton* closeButton() const { return m_close; }

    void saveImage(std::size_t i);
    void saveIcon();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void decodeNext();
    // Shows step m_step and times the next one.
    void showStep();

    IconDetails m_details;
    Asker& m_asker;
    QPixmap m_background;
    TitleButton* m_close = nullptr;
    PushButton* m_saveIcon = nullptr;
    ImageSheet* m_images = nullptr;
    std::size_t m_next = 0; // the next image to decode
    QLabel* m_player = nullptr;
    QLabel* m_playerHotspot = nullptr;
    QTimer* m_stepTimer = nullptr;
    std::size_t m_step = 0;
};

} // namespace orvu
