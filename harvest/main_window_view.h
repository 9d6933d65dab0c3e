#pragma once

#include "export/icon_cell.h"
#include "icons/icon_drawing.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

namespace orvu {

// The two sources of the design: one file, or one folder whose tree is
// harvested; None until the person chooses one.
enum class SourceMode { None, File, Folder };

// What the main window's source controls show. The mode's option button is
// chosen, its path box white and its picker enabled; the other mode's box is
// grey and its picker disabled (with None, both). The boxes show their paths.
struct SourceControls {
    SourceMode mode = SourceMode::None;
    std::filesystem::path file;
    std::filesystem::path folder;
    bool startEnabled = false;

    friend bool operator==(const SourceControls&, const SourceControls&) = default;
};

// What the main window's controller (HarvestController) needs of a front
// end's main window: to show the source controls, the status line and the
// preview, and to let the window handle its events while a long job runs.
// The front end builds the widgets, implements this and an Asker, and wires
// its widgets' events to the controller.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    virtual void showSources(const SourceControls& controls) = 0;
    // The status line, with a text (UTF-8) or a path.
    virtual void showStatus(const std::string& text) = 0;
    virtual void showStatus(const std::filesystem::path& path) = 0;

    // The preview box: the colour it is cleared to (0x00RRGGBB), and the
    // picture it shows, repainted at once: the preview surface (PreviewSize
    // pixels a side) or, on a denser screen, an icon drawn at pictureSize().
    virtual std::uint32_t previewBackground() const = 0;
    virtual void showPreview(const Surface& preview) = 0;
    virtual void showSharpPreview(const Surface& picture) { static_cast<void>(picture); }
    // The size in device pixels the preview and the tiles show an icon at:
    // CellSize, or more on a denser screen (48 at 1.5 device pixels a pixel,
    // 64 at 2).
    virtual int pictureSize() const { return CellSize; }

    // Runs the window's pending events: a long job yields here, at least
    // every longestPause().
    virtual void handleEvents() = 0;
    virtual std::chrono::milliseconds longestPause() const { return std::chrono::milliseconds(20); }
    // A harvest begins and ends. In between, tiles appended need be shown
    // only when showTilesSoFar() says so: at a yield, before a message.
    virtual void harvestBegins() {}
    virtual void showTilesSoFar() {}
    virtual void harvestEnds() {}
};

} // namespace orvu
