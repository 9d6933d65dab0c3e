#pragma once

class QWidget;

namespace orvu {

// Keeps a top-level window's button off the task bar. Windows does this for
// tool windows by itself; X11 window managers need the window's
// _NET_WM_STATE_SKIP_TASKBAR state, which must be set again each time the
// window is shown. Elsewhere this does nothing.
void keepOffTaskBar(QWidget* window);

} // namespace orvu
