#pragma once

#include "platform/windows_api.h"

namespace orvu::win32 {

// The about window: small, borderless and skinned, with the product title,
// a picture and four lines about the author; its close button is its only
// working control. It has no owner and no task-bar button, always opens at
// the same place on the screen and can't be moved.
namespace AboutWindow {

// Builds it, shows it and returns once it is closed (and destroyed). Until
// then `blocked` (the main window) takes no input.
void showModal(HWND blocked);

} // namespace AboutWindow
} // namespace orvu::win32
