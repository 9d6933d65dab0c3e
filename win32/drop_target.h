#pragma once

#include "platform/windows_api.h"

#include <filesystem>
#include <functional>
#include <ole2.h>
#include <shellapi.h>
#include <vector>

namespace orvu::win32 {

// Files and folders dropped on a window (from Explorer, or any program that
// offers CF_HDROP): registered with OLE for the window while the object
// lives. The window's own tiles, dragged out and back, are no drop.
class DropTarget {
public:
    // `dropped` gets the paths after the drop has been answered, on a later
    // turn of the message loop, so that the source isn't kept waiting.
    DropTarget(HWND window, std::function<void(std::vector<std::filesystem::path>)> dropped);
    ~DropTarget();
    DropTarget(const DropTarget&) = delete;
    DropTarget& operator=(const DropTarget&) = delete;

    // The paths a CF_HDROP block names.
    static std::vector<std::filesystem::path> pathsOf(HDROP drop);

private:
    HWND m_window;
    IDropTarget* m_target = nullptr;
};

} // namespace orvu::win32
