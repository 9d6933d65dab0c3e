#pragma once

#include "harvest/icon_save.h"

class QWidget;

namespace orvu {

class Dialogs;

// Saves one thing the way every window does: the save dialog offers the
// subject's formats in its order, starting in the folder WinDir names (the
// home folder where it names none) with the subject's suggested name; the
// user is asked before a file the dialog didn't ask about is replaced; what
// went wrong is told.
void saveThroughDialog(QWidget* owner, Dialogs& dialogs, const SaveSubject& subject);

} // namespace orvu
