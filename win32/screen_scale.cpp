#include "win32/screen_scale.h"

namespace orvu::win32 {

ScreenScale ScreenScale::of(HWND window) {
    return ScreenScale(static_cast<int>(GetDpiForWindow(window)));
}

} // namespace orvu::win32
