#pragma once

#include "harvest/icon_save.h"
#include "platform/windows_api.h"

namespace orvu::win32 {

// Saves one thing through the shell's save dialog: a tile, one image of an
// icon, a whole icon. The dialog offers the subject's formats; the answer
// becomes a target as on every front end (saveTargetOf), a name that got an
// extension and now names something that exists is asked about, and what
// went wrong is told.
void saveThroughDialog(HWND owner, const SaveSubject& subject);

} // namespace orvu::win32
