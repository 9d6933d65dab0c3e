#pragma once

#include "harvest/asker.h"
#include "harvest/icon_details.h"
#include "icons/icon_drawing.h"
#include "platform/windows_api.h"
#include "win32/gdi_objects.h"
#include "win32/screen_scale.h"

#include <memory>
#include <optional>

namespace orvu::win32 {

class ImageSheet;

// The details of one icon, in the program's style: every image the icon
// holds at its natural size on a light checkerboard, each labelled and saved
// as PNG by its own button, the icon's file, position and resource name,
// and a button that saves the whole icon (cursor, animated cursor). It opens
// at once and decodes the images one by one afterwards, a turn of the
// message loop each. A cursor's images mark its hotspot; an animated cursor
// plays at the top right, each step for as long as its rate says. Its title
// band moves it; it has no task-bar button, and goes when closed.
class DetailsWindow {
public:
    // Opens a window of the details near `owner` (below and right of it, on
    // the screen), which saves through `asker`; it destroys itself when
    // closed.
    static void open(IconDetails details, HWND owner, Asker& asker);

    ~DetailsWindow();
    DetailsWindow(const DetailsWindow&) = delete;
    DetailsWindow& operator=(const DetailsWindow&) = delete;

private:
    DetailsWindow(IconDetails details, HWND owner, Asker& asker);

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void paint(HDC dc);
    void decodeNext();
    void showStep();

    IconDetails m_details;
    Asker& m_asker;
    HWND m_window = nullptr;
    HWND m_close = nullptr;
    HWND m_saveWhole = nullptr;
    ScreenScale m_scale;
    Font m_font;
    Bitmap m_background;
    std::unique_ptr<ImageSheet> m_images;
    int m_textWidth = 0;
    std::size_t m_next = 0; // the next image to decode
    std::size_t m_step = 0; // the step the player shows
    std::optional<Surface> m_stepPicture;
    std::wstring m_stepHotspot;
};

} // namespace orvu::win32
