#include "win32/tile_list.h"

#include "win32/pictures.h"
#include "win32/wide_text.h"

#include <algorithm>
#include <chrono>

namespace orvu::win32 {
namespace {

// The longest one slice of drawing keeps the window from its events.
constexpr std::chrono::milliseconds SliceTime(8);
constexpr UINT_PTR SliceTimer = 1;
constexpr UINT_PTR SubclassId = 1;

// A tile's parts, as the Linux window's list lays them out: the picture
// this far below the tile's top, the caption below it, and room below that.
constexpr int PictureTop = 4;
constexpr int CaptionGap = 3;
constexpr int TileBottom = 5;
constexpr int CaptionInset = 2;
constexpr int MinimumTileWidth = 75;

void copyText(const std::wstring& text, wchar_t* to, int room) {
    if (!to || room <= 0)
        return;
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(room - 1));
    std::copy_n(text.data(), length, to);
    to[length] = L'\0';
}

} // namespace

TileList::TileList(HWND parent, int id, TileCollection& tiles, const PngDecoder* png)
    : m_tiles(tiles), m_redraw(tiles, png) {
    m_list = CreateWindowExW(0, WC_LISTVIEWW, L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_ICON |
                                 LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE,
                             0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
    ListView_SetExtendedListViewStyle(m_list, LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
    SetWindowSubclass(m_list, subclass, SubclassId, reinterpret_cast<DWORD_PTR>(this));
    m_rows = m_tiles.size();
    m_tiles.setListener(this);
}

TileList::~TileList() {
    m_tiles.setListener(nullptr);
    if (m_list) {
        RemoveWindowSubclass(m_list, subclass, SubclassId);
        ListView_SetImageList(m_list, nullptr, LVSIL_NORMAL);
    }
    if (m_images)
        ImageList_Destroy(m_images);
}

void TileList::place(const RECT& area, const ScreenScale& scale, HFONT font) {
    SendMessageW(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const int size = scale.pictureSize(CellSize);
    if (!m_images || size != m_redraw.size()) {
        m_redraw.setSize(size);
        resetImages();
    }
    HDC dc = GetDC(m_list);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(m_list, dc);
    const int captionHeight = static_cast<int>(metrics.tmHeight) + scale.px(2);
    const int width = std::max(scale.px(MinimumTileWidth), size + scale.px(4 * CaptionInset));
    const int height =
        scale.px(PictureTop) + size + scale.px(CaptionGap) + captionHeight + scale.px(TileBottom);
    ListView_SetIconSpacing(m_list, width, height);
    MoveWindow(m_list, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    ListView_Arrange(m_list, LVA_DEFAULT);
}

void TileList::setColours(COLORREF text, COLORREF back) {
    ListView_SetTextColor(m_list, text);
    ListView_SetBkColor(m_list, back);
    ListView_SetTextBkColor(m_list, back);
}

void TileList::resetImages() {
    const int size = m_redraw.size();
    ListView_SetImageList(m_list, nullptr, LVSIL_NORMAL);
    if (m_images)
        ImageList_Destroy(m_images);
    m_images = ImageList_Create(size, size, ILC_COLOR32, 64, 256);
    ListView_SetImageList(m_list, m_images, LVSIL_NORMAL);
    m_imageOf.clear();
    m_held.clear();
    if (m_rows > 0)
        InvalidateRect(m_list, nullptr, TRUE);
}

void TileList::tilesAppended(std::size_t, std::size_t) {
    if (!m_holding)
        publishAppends();
}

void TileList::publishAppends() {
    const std::size_t rows = m_tiles.size();
    if (rows <= m_rows)
        return;
    m_rows = rows;
    ListView_SetItemCountEx(m_list, static_cast<int>(rows),
                            LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    // Windows lays a virtual icon view out on its grid by itself; Wine keeps
    // each item's place and gives new items none until arranged.
    ListView_Arrange(m_list, LVA_DEFAULT);
}

void TileList::releaseAppends() {
    m_holding = false;
    publishAppends();
}

void TileList::tilesCleared() {
    m_redraw.clear();
    m_rows = 0;
    ListView_SetItemCountEx(m_list, 0, 0);
    ImageList_RemoveAll(m_images);
    m_imageOf.clear();
    m_held.clear();
}

int TileList::imageOf(std::size_t row) {
    const int size = m_redraw.size();
    TileCollection::SizedCell shown = m_tiles.cellAt(row, size);
    bool enlarge = false;
    if (size != CellSize && shown.state != TileCollection::SizedCell::State::Drawn) {
        if (shown.state == TileCollection::SizedCell::State::Missing) {
            m_redraw.request(row);
            if (!m_slicing) {
                m_slicing = true;
                SetTimer(m_list, SliceTimer, 0, nullptr);
            }
        }
        shown = m_tiles.cellAt(row, CellSize);
        enlarge = true;
    }
    if (!shown.cell)
        return -1;
    const auto key = std::make_pair(shown.cell.get(), enlarge);
    if (const auto found = m_imageOf.find(key); found != m_imageOf.end())
        return found->second;
    const Bitmap picture = dibOf(enlarge ? enlarged(*shown.cell, size) : *shown.cell);
    const int index = picture ? ImageList_Add(m_images, picture.get(), nullptr) : -1;
    if (index >= 0) {
        m_imageOf.emplace(key, index);
        m_held.push_back(shown.cell);
    }
    return index;
}

void TileList::drawSlice() {
    const std::vector<std::size_t> drawn = m_redraw.drawFor(SliceTime);
    if (!drawn.empty()) {
        const auto [first, last] = std::minmax_element(drawn.begin(), drawn.end());
        if (*first < m_rows)
            ListView_RedrawItems(m_list, static_cast<int>(*first),
                                 static_cast<int>(std::min(*last, m_rows - 1)));
    }
    if (!m_redraw.pending()) {
        KillTimer(m_list, SliceTimer);
        m_slicing = false;
    }
}

std::optional<LRESULT> TileList::notify(const NMHDR& header) {
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        auto& item = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header)).item;
        const auto row = static_cast<std::size_t>(item.iItem);
        if (item.iItem < 0 || row >= m_tiles.size())
            return 0;
        if (item.mask & LVIF_TEXT) {
            m_text = wide(m_tiles.caption(row));
            copyText(m_text, item.pszText, item.cchTextMax);
        }
        if (item.mask & LVIF_IMAGE)
            item.iImage = imageOf(row);
        return 0;
    }
    case LVN_ODFINDITEMW:
        return -1;
    case LVN_GETINFOTIPW: {
        auto& tip = reinterpret_cast<NMLVGETINFOTIPW&>(const_cast<NMHDR&>(header));
        if (toolTipOf && tip.iItem >= 0 && static_cast<std::size_t>(tip.iItem) < m_tiles.size()) {
            m_text = wide(toolTipOf(static_cast<std::size_t>(tip.iItem)));
            copyText(m_text, tip.pszText, tip.cchTextMax);
        }
        return 0;
    }
    case NM_RCLICK: {
        POINT at{};
        GetCursorPos(&at);
        if (onMenu)
            onMenu(at);
        return 1;
    }
    case NM_DBLCLK:
        if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0 && onOpen)
            onOpen();
        return 0;
    case LVN_BEGINDRAG:
        if (onDragOut)
            onDragOut(selectedRows());
        return 0;
    case LVN_KEYDOWN: {
        const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
        if (GetKeyState(VK_CONTROL) < 0 && key.wVKey == 'A') {
            selectAll();
            return 0;
        }
        if (GetKeyState(VK_CONTROL) < 0 && key.wVKey == 'C' && onCopy)
            onCopy();
        return 0;
    }
    default:
        return std::nullopt;
    }
}

std::optional<std::size_t> TileList::selectedRow() const {
    const int focused = ListView_GetNextItem(m_list, -1, LVNI_FOCUSED | LVNI_SELECTED);
    const int row = focused >= 0 ? focused : ListView_GetNextItem(m_list, -1, LVNI_SELECTED);
    if (row < 0 || static_cast<std::size_t>(row) >= m_tiles.size())
        return std::nullopt;
    return static_cast<std::size_t>(row);
}

std::vector<std::size_t> TileList::selectedRows() const {
    std::vector<std::size_t> rows;
    for (int row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(m_list, row, LVNI_SELECTED)) {
        if (static_cast<std::size_t>(row) < m_tiles.size())
            rows.push_back(static_cast<std::size_t>(row));
    }
    return rows;
}

void TileList::selectAll() {
    ListView_SetItemState(m_list, -1, LVIS_SELECTED, LVIS_SELECTED);
}

void TileList::select(std::size_t row) {
    ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(m_list, static_cast<int>(row), LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(m_list, static_cast<int>(row), FALSE);
}

LRESULT CALLBACK TileList::subclass(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                    DWORD_PTR self) {
    auto* list = reinterpret_cast<TileList*>(self);
    if (message == WM_TIMER && w == SliceTimer) {
        list->drawSlice();
        return 0;
    }
    if (message == WM_CONTEXTMENU && list->onMenu) {
        POINT at{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
        if (at.x == -1 && at.y == -1) { // from the keyboard: at the list's corner
            at = {0, 0};
            ClientToScreen(window, &at);
        }
        list->onMenu(at);
        return 0;
    }
    return DefSubclassProc(window, message, w, l);
}

} // namespace orvu::win32
