#pragma once

class QWidget;

namespace orvu {

// Places a dialog about to be shown over its owner's window: centred on it,
// and moved in where it would reach past the edges of the screen the window
// is on, its frame and title bar included. Without an owner it stays where
// Qt puts it.
void placeOverOwner(QWidget& dialog, QWidget* owner);

} // namespace orvu
