#pragma once

#include "harvest/window_design.h"
#include "platform/windows_api.h"

#include <cmath>

namespace orvu::win32 {

// The designs are drawn in pixels at 96 dots an inch; a window on a denser
// screen scales every placement, line and font by its dots an inch, and
// draws icons at round(32 · scale) pixels, as Windows does for such a screen.
class ScreenScale {
public:
    static constexpr int DesignDpi = 96;

    explicit ScreenScale(int dpi = DesignDpi) : m_dpi(dpi > 0 ? dpi : DesignDpi) {}
    // The dots an inch of the monitor that shows `window`.
    static ScreenScale of(HWND window);

    int dpi() const { return m_dpi; }
    double factor() const { return static_cast<double>(m_dpi) / DesignDpi; }
    int px(int designPixels) const { return MulDiv(designPixels, m_dpi, DesignDpi); }
    float pxf(float designPixels) const { return designPixels * static_cast<float>(factor()); }
    RECT rect(const design::Rect& r) const {
        return {px(r.left), px(r.top), px(r.left + r.width), px(r.top + r.height)};
    }
    POINT point(const design::Point& p) const { return {px(p.x), px(p.y)}; }
    SIZE size(const design::Size& s) const { return {px(s.width), px(s.height)}; }
    // The size an icon is drawn at for the tiles and the preview.
    int pictureSize(int cellSize) const {
        const long size = std::lround(cellSize * factor());
        return size < 1 ? 1 : static_cast<int>(size);
    }

private:
    int m_dpi;
};

} // namespace orvu::win32
