#pragma once

#include "platform/windows_api.h"
#include "win32/skin.h"

#include <string_view>

namespace orvu::win32 {

// A skinned button as a child window: a push button, an option button or a
// title-bar button (close, minimise, help). It draws itself with the skin
// in its state (normal, under the pointer, pressed, disabled), and tells its
// parent of a click as a standard button does: WM_COMMAND with BN_CLICKED
// and its id. A click is a left press and release on it, or Space while it
// has the keyboard focus; a disabled button gets neither. Title-bar buttons
// never take the focus. An option button's mark is set by its parent
// (setChecked), which keeps the group.
namespace skinnedButton {

enum class Kind { Push, Option, Close, Minimise, Help };

HWND create(HWND parent, int id, Kind kind, std::wstring_view caption);
void setChecked(HWND button, bool checked);
bool checked(HWND button);
// The face behind an option button's mark and caption.
void setBackColour(HWND button, COLORREF colour);
void setScale(HWND button, const ScreenScale& scale);

} // namespace skinnedButton
} // namespace orvu::win32
