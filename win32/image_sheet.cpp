#include "win32/image_sheet.h"

#include "win32/gdi_objects.h"
#include "win32/pictures.h"
#include "win32/skin.h"

#include <algorithm>
#include <map>
#include <utility>
#include <windowsx.h>

namespace orvu::win32 {
namespace {

constexpr wchar_t ClassName[] = L"OrvuImageSheet";
constexpr int ScrollStep = 20;

SIZE textSize(HDC dc, const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

} // namespace

ImageSheet::ImageSheet(HWND parent, const std::vector<ImageDescription>& images,
                       std::vector<std::wstring> labels, std::wstring saveCaption,
                       const ScreenScale& scale, HFONT font, COLORREF back)
    : m_scale(scale), m_font(font), m_back(back), m_saveCaption(std::move(saveCaption)) {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = ClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
    m_window = CreateWindowExW(0, ClassName, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 0, 0,
                               parent, nullptr, GetModuleHandleW(nullptr), this);

    HDC dc = GetDC(m_window);
    {
        const Selected selected(dc, font);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        m_lineHeight = metrics.tmHeight;
        m_button = pushButtonSize(dc, m_saveCaption, scale);
        m_textHeight = scale.px(imageGrid::PictureGap) + 2 * m_lineHeight +
                       scale.px(imageGrid::ButtonGap) + m_button.cy;
        // Labels repeat (an icon of thousands of images has few kinds of
        // them): each text is measured once.
        std::map<std::wstring, int> widths;
        m_rows.reserve(images.size());
        for (std::size_t i = 0; i < images.size(); ++i) {
            Row row;
            const design::Size room = imageGrid::pictureRoom(images[i].width, images[i].height);
            row.room = {scale.px(room.width), scale.px(room.height)};
            row.label = i < labels.size() ? std::move(labels[i]) : std::wstring();
            auto width = widths.find(row.label);
            if (width == widths.end())
                width = widths.emplace(row.label, textSize(dc, row.label).cx).first;
            row.textWidth = std::max<int>(width->second, m_button.cx);
            m_rows.push_back(std::move(row));
        }
    }
    ReleaseDC(m_window, dc);
}

ImageSheet::~ImageSheet() {
    if (m_window) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
}

std::vector<imageGrid::Cell> ImageSheet::cells() const {
    std::vector<imageGrid::Cell> cells;
    cells.reserve(m_rows.size());
    for (const Row& row : m_rows) {
        const design::Size designRoom{row.room.width * ScreenScale::DesignDpi / m_scale.dpi(),
                                      row.room.height * ScreenScale::DesignDpi / m_scale.dpi()};
        cells.push_back({{std::max(row.room.width, row.textWidth), row.room.height + m_textHeight},
                         imageGrid::standsAlone(designRoom)});
    }
    return cells;
}

int ImageSheet::heightFor(int width) const {
    const int inside = width -
                       GetSystemMetricsForDpi(SM_CXVSCROLL, static_cast<UINT>(m_scale.dpi())) -
                       2 * m_scale.px(imageGrid::Margin);
    return imageGrid::flow(cells(), inside, m_scale.px(imageGrid::Gap)).height +
           2 * m_scale.px(imageGrid::Margin);
}

void ImageSheet::place(const RECT& area) {
    MoveWindow(m_window, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    layOut();
}

void ImageSheet::layOut() {
    RECT client{};
    GetClientRect(m_window, &client);
    m_layout = imageGrid::flow(cells(), client.right - 2 * m_scale.px(imageGrid::Margin),
                               m_scale.px(imageGrid::Gap));
    m_height = m_layout.height + 2 * m_scale.px(imageGrid::Margin);
    updateScrollBar();
    InvalidateRect(m_window, nullptr, FALSE);
}

void ImageSheet::updateScrollBar() {
    RECT client{};
    GetClientRect(m_window, &client);
    m_offset = std::clamp(m_offset, 0, std::max(0, m_height - static_cast<int>(client.bottom)));
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(0, m_height - 1);
    info.nPage = static_cast<UINT>(client.bottom);
    info.nPos = m_offset;
    SetScrollInfo(m_window, SB_VERT, &info, TRUE);
}

RECT ImageSheet::cellRect(std::size_t i) const {
    const design::Rect& cell = m_layout.cells.at(i);
    const int margin = m_scale.px(imageGrid::Margin);
    const int left = cell.left + margin;
    const int top = cell.top + margin - m_offset;
    return {left, top, left + cell.width, top + cell.height};
}

int ImageSheet::textTop(std::size_t i) const {
    return cellRect(i).bottom - m_textHeight + m_scale.px(imageGrid::PictureGap);
}

RECT ImageSheet::buttonRect(std::size_t i) const {
    const int top = textTop(i) + 2 * m_lineHeight + m_scale.px(imageGrid::ButtonGap);
    const int left = cellRect(i).left;
    return {left, top, left + m_button.cx, top + m_button.cy};
}

std::optional<std::size_t> ImageSheet::buttonAt(POINT at) const {
    const int y = at.y + m_offset - m_scale.px(imageGrid::Margin);
    // The last grid row that starts above the point, and its cells.
    const auto after =
        std::partition_point(m_layout.rows.begin(), m_layout.rows.end(),
                             [y](const imageGrid::Row& row) { return row.top <= y; });
    if (after == m_layout.rows.begin())
        return std::nullopt;
    const std::size_t end = after == m_layout.rows.end() ? m_rows.size() : after->first;
    for (std::size_t i = std::prev(after)->first; i < end; ++i) {
        const RECT button = buttonRect(i);
        if (PtInRect(&button, at))
            return i;
    }
    return std::nullopt;
}

void ImageSheet::updateRow(std::size_t i) {
    const RECT area = cellRect(i);
    InvalidateRect(m_window, &area, FALSE);
}

void ImageSheet::setPicture(std::size_t i, Surface picture) {
    Row& row = m_rows.at(i);
    // A picture larger than its room (its directory said less) is scaled
    // into it, keeping its shape.
    const int shownWidth = m_scale.px(picture.width);
    const int shownHeight = m_scale.px(picture.height);
    if (shownWidth > row.room.width || shownHeight > row.room.height) {
        const double fit = std::min(static_cast<double>(row.room.width) / shownWidth,
                                    static_cast<double>(row.room.height) / shownHeight);
        picture.width = std::max(1, static_cast<int>(picture.width * fit));
        picture.height = std::max(1, static_cast<int>(picture.height * fit));
        // Reduced later, as it is drawn into its room.
    }
    row.picture = std::move(picture);
    updateRow(i);
}

void ImageSheet::setFailure(std::size_t i, const std::wstring& reason) {
    m_rows.at(i).failure = reason;
    updateRow(i);
}

void ImageSheet::paint(HDC dc, const RECT& area) {
    const Brush back(CreateSolidBrush(m_back));
    FillRect(dc, &area, back.get());
    const Selected font(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, designColour(design::SystemColour::WindowText));
    const int offset = m_offset - m_scale.px(imageGrid::Margin);
    // Only the grid rows in view: the first whose bottom reaches the area, on.
    auto row = std::partition_point(
        m_layout.rows.begin(), m_layout.rows.end(),
        [&](const imageGrid::Row& r) { return r.top + r.height - offset < area.top; });
    for (; row != m_layout.rows.end() && row->top - offset <= area.bottom; ++row) {
        const auto next = std::next(row);
        const std::size_t end = next == m_layout.rows.end() ? m_rows.size() : next->first;
        for (std::size_t i = row->first; i < end; ++i) {
            const Row& image = m_rows[i];
            const RECT cell = cellRect(i);
            const int texts = textTop(i);
            // Pictures stand on their row's line of labels.
            if (image.picture) {
                const int width = std::min(m_scale.px(image.picture->width), image.room.width);
                const int height = std::min(m_scale.px(image.picture->height), image.room.height);
                const int bottom = texts - m_scale.px(imageGrid::PictureGap);
                const int top = bottom - image.room.height;
                drawSurface(dc, {cell.left, top, cell.left + width, top + height}, *image.picture);
            }
            RECT label{cell.left, texts, cell.right, texts + m_lineHeight};
            DrawTextW(dc, image.label.c_str(), static_cast<int>(image.label.size()), &label,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            RECT failure{cell.left, texts + m_lineHeight, cell.right, texts + 2 * m_lineHeight};
            DrawTextW(dc, image.failure.c_str(), static_cast<int>(image.failure.size()), &failure,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            const bool hovered = m_hovered == i;
            paintPushButton(dc, buttonRect(i), m_saveCaption, m_font,
                            buttonLook(canSave(i), hovered && m_pressed == i, hovered), false,
                            m_scale);
        }
    }
}

void ImageSheet::scrollTo(int offset) {
    RECT client{};
    GetClientRect(m_window, &client);
    offset = std::clamp(offset, 0, std::max(0, m_height - static_cast<int>(client.bottom)));
    if (offset == m_offset)
        return;
    ScrollWindowEx(m_window, 0, m_offset - offset, nullptr, nullptr, nullptr, nullptr,
                   SW_INVALIDATE);
    m_offset = offset;
    SetScrollPos(m_window, SB_VERT, m_offset, TRUE);
}

LRESULT CALLBACK ImageSheet::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
    auto* sheet = reinterpret_cast<ImageSheet*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!sheet || !sheet->m_window)
        return DefWindowProcW(window, message, w, l);
    return sheet->handle(message, w, l);
}

LRESULT ImageSheet::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC target = BeginPaint(m_window, &ps);
        const RECT& area = ps.rcPaint;
        const int width = area.right - area.left;
        const int height = area.bottom - area.top;
        if (width > 0 && height > 0) {
            // Drawn off screen and copied at once: no flicker while scrolling.
            MemoryDc dc(target);
            Bitmap canvas(CreateCompatibleBitmap(target, width, height));
            const Selected selected(dc.get(), canvas.get());
            SetViewportOrgEx(dc.get(), -area.left, -area.top, nullptr);
            paint(dc.get(), area);
            SetViewportOrgEx(dc.get(), 0, 0, nullptr);
            BitBlt(target, area.left, area.top, width, height, dc.get(), 0, 0, SRCCOPY);
        }
        EndPaint(m_window, &ps);
        return 0;
    }
    case WM_SIZE:
        layOut();
        return 0;
    case WM_VSCROLL: {
        RECT client{};
        GetClientRect(m_window, &client);
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(m_window, SB_VERT, &info);
        switch (LOWORD(w)) {
        case SB_LINEUP:
            scrollTo(m_offset - m_scale.px(ScrollStep));
            break;
        case SB_LINEDOWN:
            scrollTo(m_offset + m_scale.px(ScrollStep));
            break;
        case SB_PAGEUP:
            scrollTo(m_offset - client.bottom);
            break;
        case SB_PAGEDOWN:
            scrollTo(m_offset + client.bottom);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            scrollTo(info.nTrackPos);
            break;
        case SB_TOP:
            scrollTo(0);
            break;
        case SB_BOTTOM:
            scrollTo(m_height);
            break;
        default:
            break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL:
        scrollTo(m_offset - GET_WHEEL_DELTA_WPARAM(w) * m_scale.px(3 * ScrollStep) / WHEEL_DELTA);
        return 0;
    case WM_LBUTTONDOWN:
        m_pressed = buttonAt({GET_X_LPARAM(l), GET_Y_LPARAM(l)});
        if (m_pressed) {
            SetCapture(m_window);
            updateRow(*m_pressed);
        }
        return 0;
    case WM_LBUTTONUP: {
        const auto pressed = std::exchange(m_pressed, std::nullopt);
        if (GetCapture() == m_window)
            ReleaseCapture();
        if (!pressed)
            return 0;
        updateRow(*pressed);
        if (buttonAt({GET_X_LPARAM(l), GET_Y_LPARAM(l)}) == pressed && canSave(*pressed) && onSave)
            onSave(*pressed);
        return 0;
    }
    case WM_MOUSEMOVE: {
        const auto hovered = buttonAt({GET_X_LPARAM(l), GET_Y_LPARAM(l)});
        if (hovered == m_hovered)
            return 0;
        if (m_hovered)
            updateRow(*m_hovered);
        m_hovered = hovered;
        if (m_hovered) {
            updateRow(*m_hovered);
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_window, 0};
            TrackMouseEvent(&track);
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        if (const auto hovered = std::exchange(m_hovered, std::nullopt))
            updateRow(*hovered);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, w, l);
}

} // namespace orvu::win32
