#include "qt/dialog_placement.h"

#include <QEvent>
#include <QPointer>
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

// Keeps a dialog over its owner's window and within the screen: placed at
// once, placed again while it sizes itself before it is first painted (a
// message box fits its text as it is shown), and moved in again where the
// frame the window manager drew turns out to reach past the screen.
class Placer final : public QObject {
public:
    Placer(QWidget& dialog, const QWidget& owner)
        : QObject(&dialog), m_dialog(dialog), m_owner(&owner) {
        place();
        dialog.installEventFilter(this);
    }

private:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &m_dialog)
            return false;
        switch (event->type()) {
        case QEvent::Resize:
            if (!m_painted)
                place();
            break;
        case QEvent::Paint:
            m_painted = true;
            break;
        case QEvent::Show:
        case QEvent::Move:
            keepFrameOnScreen();
            break;
        default:
            break;
        }
        return false;
    }

    QRect room() const {
        const QScreen* screen = m_owner ? m_owner->window()->screen() : nullptr;
        return screen ? screen->availableGeometry() : QRect();
    }

    void place() {
        const QRect space = room();
        if (!m_owner || space.isEmpty())
            return;
        const QMargins frame = frameOf();
        QRect client(QPoint(), m_dialog.size().boundedTo(space.size().shrunkBy(frame)));
        client.moveCenter(m_owner->window()->frameGeometry().center());
        const QRect placed = within(client.marginsAdded(frame), space).marginsRemoved(frame);
        if (placed != m_dialog.geometry())
            m_dialog.setGeometry(placed);
    }

    void keepFrameOnScreen() {
        const QWindow* handle = m_dialog.windowHandle();
        const QRect space = room();
        if (!handle || handle->frameMargins().isNull() || space.isEmpty())
            return;
        const QRect frame = m_dialog.frameGeometry();
        const QRect inside = within(frame, space);
        if (inside != frame)
            m_dialog.move(inside.topLeft());
    }

    // The frame around the dialog as the window manager drew it, once it has.
    QMargins frameOf() const {
        const QWindow* handle = m_dialog.windowHandle();
        const QMargins margins = handle ? handle->frameMargins() : QMargins();
        return margins.isNull() ? LikelyFrame : margins;
    }

    QWidget& m_dialog;
    QPointer<const QWidget> m_owner;
    bool m_painted = false;
};

} // namespace

void placeOverOwner(QWidget& dialog, QWidget* owner) {
    if (!owner)
        return;
    dialog.ensurePolished();
    if (!dialog.testAttribute(Qt::WA_Resized))
        dialog.adjustSize();
    new Placer(dialog, *owner);
}

} // namespace orvu
