#pragma once

#include "harvest/tile_collection.h"
#include "harvest/tile_redraw.h"
#include "icons/png_decoder.h"
#include "platform/windows_api.h"
#include "win32/screen_scale.h"

#include <commctrl.h>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvu::win32 {

// The icon list: Windows' own list view (SysListView32) in icon view,
// showing the tiles of a TileCollection as a virtual list: the list asks for
// each tile's caption and picture only as it paints it, so that it holds the
// most tiles a window takes as lightly as a few. Its pictures come from the
// tiles' own cells, put into a 32-bit image list once per distinct cell as
// they are first shown.
//
// On a denser screen each tile shows its icon drawn at round(32 · scale)
// pixels: drawn when the tile is first shown, a slice at a time on the
// window's timer, the 32-pixel cell enlarged until then.
//
// Tiles are selected as in any list view: a click, Ctrl+click, Shift+click,
// a band dragged from empty space, the arrow keys; Ctrl+A selects all.
class TileList final : private TileListener {
public:
    TileList(HWND parent, int id, TileCollection& tiles, const PngDecoder* png);
    ~TileList() override;
    TileList(const TileList&) = delete;
    TileList& operator=(const TileList&) = delete;

    HWND window() const { return m_list; }
    // Where the list sits in its parent, the screen's scale and the font of
    // the captions.
    void place(const RECT& area, const ScreenScale& scale, HFONT font);
    void setColours(COLORREF text, COLORREF back);

    // A harvest appends its tiles between two turns of the event loop; while
    // held, appended tiles reach the list only when published (at a yield,
    // before a message, at the end), so the list is laid out once a turn.
    void holdAppends() { m_holding = true; }
    void publishAppends();
    void releaseAppends();

    // The parent hands on the list's notifications (WM_NOTIFY); the result
    // where the list handled one.
    std::optional<LRESULT> notify(const NMHDR& header);

    // The selected tile: the focused one where it is selected, else the
    // first selected.
    std::optional<std::size_t> selectedRow() const;
    std::vector<std::size_t> selectedRows() const;
    void selectAll();
    void select(std::size_t row);

    int pictureSize() const { return m_redraw.size(); }
    // Whether tiles asked for are still to be drawn at the screen's size.
    bool redrawing() const { return m_redraw.pending(); }

    // What the user asks of the tiles: the menu (a right click anywhere in
    // the list, or the menu key), a tile's details (a double click), a copy
    // (Ctrl+C), dragging the selected tiles out, and a tile's tip.
    std::function<void(POINT screen)> onMenu;
    std::function<void()> onOpen;
    std::function<void()> onCopy;
    std::function<void(std::vector<std::size_t> rows)> onDragOut;
    std::function<std::string(std::size_t row)> toolTipOf;

private:
    void tilesAppended(std::size_t first, std::size_t count) override;
    void tilesCleared() override;
    int imageOf(std::size_t row);
    void resetImages();
    void drawSlice();
    static LRESULT CALLBACK subclass(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                                     DWORD_PTR self);

    HWND m_list = nullptr;
    TileCollection& m_tiles;
    TileRedraw m_redraw;
    HIMAGELIST m_images = nullptr;
    // Each distinct picture's place in the image list; an enlarged cell
    // (shown until the tile is drawn at the screen's size) apart from the
    // same cell at its own size. The cells are held, so that no address is
    // reused while it is a key.
    std::map<std::pair<const IconCell*, bool>, int> m_imageOf;
    std::vector<std::shared_ptr<const IconCell>> m_held;
    std::size_t m_rows = 0; // the rows the list was told of
    bool m_holding = false;
    bool m_slicing = false;
    std::wstring m_text; // the last caption or tip handed out
};

} // namespace orvu::win32
