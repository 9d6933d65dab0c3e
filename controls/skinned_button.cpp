#include "controls/skinned_button.h"

#include <QEnterEvent>

namespace orvu {

SkinnedButton::SkinnedButton(QWidget* parent) : QAbstractButton(parent) {
    setFont(designFont());
}

ButtonLook SkinnedButton::look() const {
    return buttonLook(isEnabled(), isDown(), m_hovered);
}

void SkinnedButton::enterEvent(QEnterEvent* event) {
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void SkinnedButton::leaveEvent(QEvent* event) {
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void SkinnedButton::changeEvent(QEvent* event) {
    // A button disabled under the pointer gets no leave event.
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        m_hovered = false;
    QAbstractButton::changeEvent(event);
}

} // namespace orvu
