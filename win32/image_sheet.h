#pragma once

#include "harvest/image_grid.h"
#include "icons/icon_drawing.h"
#include "icons/icon_library.h"
#include "platform/windows_api.h"
#include "win32/screen_scale.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvu::win32 {

// The images of an icon in the details window, as a child window with a
// vertical scroll bar: the grid of image_grid.h, each picture above its
// label, a second line for why it can't be shown, and a skinned button that
// saves it. Only the rows in view are drawn, so that an icon of the most
// images a directory lists opens and scrolls at once.
class ImageSheet {
public:
    ImageSheet(HWND parent, const std::vector<ImageDescription>& images,
               std::vector<std::wstring> labels, std::wstring saveCaption, const ScreenScale& scale,
               HFONT font, COLORREF back);
    ~ImageSheet();
    ImageSheet(const ImageSheet&) = delete;
    ImageSheet& operator=(const ImageSheet&) = delete;

    HWND window() const { return m_window; }
    void place(const RECT& area);
    // The height that shows every image at this width, without scrolling.
    int heightFor(int width) const;
    // Image i decoded, on its checkerboard (as wide as its room, or scaled
    // into it): it shows, and its button saves it.
    void setPicture(std::size_t i, Surface picture);
    // Image i can't be shown: why, on its second line.
    void setFailure(std::size_t i, const std::wstring& reason);
    bool canSave(std::size_t i) const { return m_rows.at(i).picture.has_value(); }

    std::function<void(std::size_t)> onSave;

private:
    struct Row {
        design::Size room; // in device pixels
        int textWidth = 0;
        std::wstring label;
        std::wstring failure;
        std::optional<Surface> picture;
    };

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    std::vector<imageGrid::Cell> cells() const;
    void layOut();
    void updateScrollBar();
    RECT cellRect(std::size_t i) const;
    int textTop(std::size_t i) const;
    RECT buttonRect(std::size_t i) const;
    std::optional<std::size_t> buttonAt(POINT at) const;
    void updateRow(std::size_t i);
    void paint(HDC dc, const RECT& area);
    void scrollTo(int offset);

    HWND m_window = nullptr;
    ScreenScale m_scale;
    HFONT m_font;
    COLORREF m_back;
    std::wstring m_saveCaption;
    std::vector<Row> m_rows;
    imageGrid::Layout m_layout;
    int m_lineHeight = 0;
    int m_textHeight = 0; // from a picture's bottom to its cell's
    SIZE m_button{};
    int m_height = 0;
    int m_offset = 0; // scrolled this far down
    std::optional<std::size_t> m_hovered;
    std::optional<std::size_t> m_pressed;
};

} // namespace orvu::win32
