#pragma once

#include "export/icon_cell.h"
#include "harvest/tile_collection.h"
#include "icons/icon_drawing.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace orvu {

// Tiles one window holds at most: a harvest that reaches this many stops and
// says so, keeping what it has. Identical cells share their picture, so the
// memory a tile costs is mostly its text and key.
inline constexpr std::size_t MaxTiles = 100'000;

// What a harvest needs of the main window: the preview surface, the tiles,
// the Start button, the status line and the event loop. The program's window
// implements it with its controls, its list showing the tiles; tests and the
// benchmarks with plain data.
class HarvestWindow {
public:
    virtual ~HarvestWindow() = default;

    // The preview surface: its persistent image, its background colour
    // (0x00RRGGBB), and an immediate repaint of it on screen.
    virtual Surface& previewImage() = 0;
    virtual std::uint32_t previewBackground() const = 0;
    virtual void refreshPreview() = 0;
    // The size in device pixels the preview and the tiles show an icon at:
    // CellSize, or more on a denser screen (48 at 1.5 device pixels a pixel,
    // 64 at 2). At another size than CellSize the harvest draws the icon at
    // that size whenever it yields and at the end of a file, shows it by
    // showSharpPreview (in place of previewImage()) and keeps it as its
    // tile's cell of that size.
    virtual int pictureSize() const { return CellSize; }
    virtual void showSharpPreview(const Surface&) { refreshPreview(); }

    // The tiles the harvest fills; whatever shows them listens to them.
    virtual TileCollection& tiles() = 0;

    virtual void setStartEnabled(bool enabled) = 0;

    // The status line, with a text (UTF-8) or a path.
    virtual void showStatus(const std::string& text) = 0;
    virtual void showStatus(const std::filesystem::path& path) = 0;
    // The status line saying where the tiles came from (a shortcut's icon):
    // a text that holds only while they are shown.
    virtual void showSourceOfTiles(const std::string& text) { showStatus(text); }

    // Lets the window handle its pending events. False when the harvest must
    // stop at once: the window is going away, or the user stopped it or
    // chose another source.
    virtual bool yieldToEvents() = 0;
    // The longest the harvest may keep the window from its events.
    virtual std::chrono::milliseconds longestPause() const { return std::chrono::milliseconds(20); }
    // The most tiles the window takes.
    virtual std::size_t tileLimit() const { return MaxTiles; }
    // Whether a program's cursors follow its icons as tiles.
    virtual bool includesCursors() const { return false; }

    // Tells the user that something went wrong (UTF-8 text).
    virtual void reportProblem(const std::string& message) = 0;
};

} // namespace orvu
