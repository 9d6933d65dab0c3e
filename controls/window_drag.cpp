#include "controls/window_drag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace orvu {

WindowDrag::WindowDrag(QWidget* handle, std::function<bool(QPoint)> grips)
    : QObject(handle), m_handle(handle), m_grips(std::move(grips)) {
    handle->installEventFilter(this);
}

bool WindowDrag::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched != m_handle || (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
                                type != QEvent::MouseButtonRelease))
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint pointer = mouse->globalPosition().toPoint();
    QWidget* window = m_handle->window();
    if (type == QEvent::MouseButtonPress) {
        if (m_grips && !m_grips(mouse->position().toPoint()))
            return false;
        QWindow* native = window->windowHandle();
        if (native && native->startSystemMove())
            return true;
        m_offset = pointer - window->pos();
        m_handle->grabMouse();
        return true;
    }
    if (!m_offset)
        return false;
    if (type == QEvent::MouseMove) {
        window->move(pointer - *m_offset);
    } else {
        m_offset.reset();
        m_handle->releaseMouse();
    }
    return true;
}

} // namespace orvu
