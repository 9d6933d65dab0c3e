#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>

class QLabel;

namespace orvu {

class XPTitleButtons;

// The about window: a small borderless, skinned window with the product
// title, a picture and four lines about the author, and a close button as
// its only working control. It has no owner, no task-bar button and can't be
// moved. Closing it destroys it; each showing builds it afresh from the
// design. Its controls keep the names of the window's design.
class Form2 : public QWidget {
    Q_OBJECT

public:
    // Client area and place on the screen, in pixels: always the same,
    // wherever the main window is.
    static constexpr QSize ClientSize{338, 194};
    static constexpr QPoint StartPosition{229, 150};

    Form2();
    ~Form2() override;

    // Builds an about window, shows it application-modal and returns once it
    // has been closed (and destroyed). Until then no other window of the
    // program takes input.
    static void showModal();

    // Handler: unloads the window.
    void XPTitleButtons1Click();

    // The controls, as the design names them. Label2 is a control array:
    // element 1 is the title line, element 0 the instant-messenger line.
    XPTitleButtons* XPTitleButtons1 = nullptr;
    std::array<QLabel*, 2> Label2{};
    QLabel* Label1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();

    QPixmap m_background;
};

} // namespace orvu
