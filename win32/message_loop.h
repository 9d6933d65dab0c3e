#pragma once

#include "platform/windows_api.h"

namespace orvu::win32::messageLoop {

// The program's message loop, and the turns a long job takes of it between
// two steps of its work. The keys of the windows that take keyboard
// navigation (Tab between controls, Space on a button, Esc as IDCANCEL) are
// handled as a dialog's.

void addDialogWindow(HWND window);
void removeDialogWindow(HWND window);

// Runs until WM_QUIT; its exit code.
int run();
// Handles every message waiting, then returns; false once the program is to
// quit (the WM_QUIT seen is posted again for the loop outside).
bool pump();

} // namespace orvu::win32::messageLoop
