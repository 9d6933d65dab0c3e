#pragma once

#include "export/icon_cell.h"
#include "harvest/icon_origin.h"
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

// What a harvest needs of the main window: the preview surface, the image
// collection, the icon list, the Start button, the status line and the event
// loop. The program's window implements it with its controls; tests and the
// command-line tool with plain data.
class HarvestWindow {
public:
    virtual ~HarvestWindow() = default;

    // The preview surface: its persistent image, its background colour
    // (0x00RRGGBB), and an immediate repaint of it on screen.
    virtual Surface& previewImage() = 0;
    virtual std::uint32_t previewBackground() const = 0;
    virtual void refreshPreview() = 0;

    // The image collection.
    virtual void setImageSize(int width, int height) = 0;
    // Appends a copy of the cell under the key, with where its icon came
    // from; false when the key is taken.
    virtual bool addImage(const std::string& key, const IconCell& cell,
                          const IconOrigin& origin) = 0;
    virtual std::size_t imageCount() const = 0;

    // The icon list.
    virtual void bindListToImages() = 0;
    virtual std::size_t tileCount() const = 0;
    // Appends a tile with the text that shows the image at index `image`.
    virtual void addTile(const std::string& text, std::size_t image) = 0;
    virtual void clearTiles() = 0;

    virtual void setStartEnabled(bool enabled) = 0;

    // The status line, with a text (UTF-8) or a path.
    virtual void showStatus(const std::string& text) = 0;
    virtual void showStatus(const std::filesystem::path& path) = 0;

    // Lets the window handle its pending events. False when the harvest must
    // stop at once: the window is going away, or the user stopped it or
    // chose another source.
    virtual bool yieldToEvents() = 0;
    // The longest the harvest may keep the window from its events.
    virtual std::chrono::milliseconds longestPause() const { return std::chrono::milliseconds(20); }
    // The most tiles the window takes.
    virtual std::size_t tileLimit() const { return MaxTiles; }

    // Tells the user that something went wrong (UTF-8 text).
    virtual void reportProblem(const std::string& message) = 0;
};

} // namespace orvu
