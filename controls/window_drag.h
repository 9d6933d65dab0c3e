#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>

class QWidget;

namespace orvu {

// Moves a frameless window while the user drags a part of it (its title)
// with any mouse button: the window system moves it where it can, and
// otherwise the window follows the pointer until the button is released.
// It watches `handle` and moves the window that holds it; `grips` says which
// points of the handle (in its coordinates) start a move (all of them when
// empty).
class WindowDrag : public QObject {
    Q_OBJECT

public:
    explicit WindowDrag(QWidget* handle, std::function<bool(QPoint)> grips = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_handle;
    std::function<bool(QPoint)> m_grips;
    // Where the window system can't move the window: the pointer's offset
    // from the window's corner while it is dragged.
    std::optional<QPoint> m_offset;
};

} // namespace orvu
