#pragma once

#include "app/window_design.h"
#include "harvest/about_window_layout.h"

#include <QPixmap>
#include <QWidget>

class QLabel;

namespace orvu {

class TitleButton;

// The about window: a small borderless, skinned window with the product
// title, a picture and four lines about the author, and a close button as
// its only working control. It has no owner, no task-bar button and can't be
// moved. Closing it destroys it; each showing builds it afresh.
class AboutWindow : public QWidget {
    Q_OBJECT

public:
    // Client area and place on the screen, in pixels: always the same,
    // wherever the main window is.
    static constexpr QSize ClientSize = toQSize(aboutWindowLayout::ClientSize);
    static constexpr QPoint StartPosition = toQPoint(aboutWindowLayout::StartPosition);

    AboutWindow();
    ~AboutWindow() override;

    // Builds an about window, shows it application-modal and returns once it
    // has been closed (and destroyed). Until then no other window of the
    // program takes input.
    static void showModal();

    // The window's controls.
    struct Controls {
        TitleButton* closeButton = nullptr;
        QLabel* titleLabel = nullptr;
        QLabel* authorLine = nullptr;
        QLabel* picture = nullptr;
        QLabel* messengerLine = nullptr;
        QLabel* mailLine = nullptr;
        QLabel* webLine = nullptr;
    };
    const Controls& controls() const { return m_controls; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();

    Controls m_controls;
    QPixmap m_background;
};

} // namespace orvu
