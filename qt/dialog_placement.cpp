#include "qt/dialog_placement.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace orvu {
namespace {

// The frame a window manager puts around a dialog, until the dialog's own is
// known: as much as Qt's dialogs allow for.
constexpr QMargins LikelyFrame{10, 40, 10, 10};

// `area` (a window's frame) moved as little as it takes to lie within `room`,
// its top-left corner first where it is larger.
QRect within(QRect area, const QRect& room) {
    area.moveLeft(std::max(room.left(), std::min(area.left(), room.right() + 1 - area.width())));
    area.moveTop(std::max(room.top(), std::min(area.top(), room.bottom() + 1 - area.height())));
    return area;
}

// The frame around `window` as the window manager drew it, once it has.
QMargins frameOf(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    const QMargins margins = handle ? handle->frameMargins() : QMargins();
    return margins.isNull() ? LikelyFrame : margins;
}

// Where the frame around the dialog, once known, would reach past the
// screen, moves the dialog in again.
class KeepOnScreen final : public QObject {
public:
    KeepOnScreen(QWidget& dialog, QRect room) : QObject(&dialog), m_dialog(dialog), m_room(room) {
        dialog.installEventFilter(this);
    }

private:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_dialog &&
            (event->type() == QEvent::Move || event->type() == QEvent::Show)) {
            const QWindow* handle = m_dialog.windowHandle();
            if (handle && !handle->frameMargins().isNull()) {
                const QRect frame = m_dialog.frameGeometry();
                const QRect inside = within(frame, m_room);
                if (inside != frame)
                    m_dialog.move(inside.topLeft());
            }
        }
        return false;
    }

    QWidget& m_dialog;
    QRect m_room;
};

} // namespace

void placeOverOwner(QWidget& dialog, QWidget* owner) {
    if (!owner)
        return;
    const QWidget* window = owner->window();
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    dialog.ensurePolished();
    if (!dialog.testAttribute(Qt::WA_Resized))
        dialog.adjustSize();
    const QRect room = screen->availableGeometry();
    const QMargins frame = frameOf(dialog);
    QRect client(QPoint(), dialog.size().boundedTo(room.size().shrunkBy(frame)));
    client.moveCenter(window->frameGeometry().center());
    const QRect placed = within(client.marginsAdded(frame), room).marginsRemoved(frame);
    dialog.setGeometry(placed);
    new KeepOnScreen(dialog, room);
}

} // namespace orvu
