#pragma once

#include "harvest/asker.h"
#include "harvest/folder_keys.h"
#include "harvest/harvest_window.h"
#include "harvest/icon_details.h"
#include "harvest/job_runner.h"
#include "harvest/main_window_view.h"
#include "harvest/tile_collection.h"
#include "icons/png_decoder.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace orvu {

// The main window without its widgets: every flow of it, for any front end.
// It holds the design's state (the mode, the two path boxes, Start, the
// tiles, the running folder keys, whether cursors are included) and runs
// what the person does: the mode switches and the pickers, Start and Esc, a
// path dropped or handed over, and what the tiles offer (saving one or many,
// the details, copying, dragging out). It shows its state through the front
// end's MainWindowView and asks the person through its Asker.
//
// The long jobs (a harvest, saving many tiles) run one at a time through a
// JobRunner, yielding to the window's events. Choosing another source (a
// picker, the other mode, a drop, a path handed over) stops a running
// harvest at its next yield, before anything more reaches the tiles; Esc or
// the window going away stops either job.
class HarvestController {
public:
    HarvestController(MainWindowView& view, Asker& asker, Owner owner, const PngDecoder* png);
    HarvestController(const HarvestController&) = delete;
    HarvestController& operator=(const HarvestController&) = delete;
    ~HarvestController();

    const SourceControls& sources() const { return m_sources; }
    TileCollection& tiles() { return m_tiles; }
    const TileCollection& tiles() const { return m_tiles; }
    const FolderKeys& folderKeys() const { return m_folderKeys; }
    bool ending() const { return m_jobs.ending(); }
    const PngDecoder* png() const { return m_png; }
    // The status line's text as last shown.
    std::string status() const;

    // The load sequence's own step: Start and both pickers disabled, no
    // mode chosen.
    void load();
    // The person's choices.
    void chooseFileMode();
    void chooseFolderMode();
    void pickFile();
    void pickFolder();
    // Start: harvests the chosen file, then the chosen folder. Pressed while
    // a job yields, it runs once that job has ended.
    void start();
    // Esc: stops the running job at its next yield.
    void stop();
    // Something dropped on the window: one file or folder, as openPath.
    void openPaths(const std::vector<std::filesystem::path>& paths);
    // A file or folder chosen from outside (a drop, a later start of the
    // program): chosen as a picker chooses it, then harvested.
    void openPath(const std::filesystem::path& path);
    // The window goes: a job stops at its next yield and nothing waiting
    // runs. False when it was going already.
    bool end();

    // Whether a harvest adds each program's cursors after its icons; off
    // until set. Changing it harvests the source shown again, and tells
    // onIncludesCursorsChanged (to remember it).
    bool includesCursors() const { return m_includesCursors; }
    void setIncludesCursors(bool include);
    std::function<void(bool include)> onIncludesCursorsChanged;

    // What the tile menu offers now, with a selection or without.
    struct TileMenu {
        bool saveSelected = false;
        bool saveAll = false;
        bool copy = false;
    };
    TileMenu tileMenu(bool selection) const;
    // "Save Icon As...": the selected tile (none: the person is told).
    void saveTile(std::optional<std::size_t> selected);
    // Saving many: these tiles, or all, into a folder, as a long job.
    void saveTiles(const std::vector<std::size_t>& rows);
    void saveAllTiles();
    // The selected tile's icon read again for its details window; nullopt,
    // and the person told why, where there is none.
    std::optional<IconDetails> details(std::optional<std::size_t> selected);
    // The selected tile's largest image as PNG, to copy; nullopt where
    // there is no tile, or the icon can't be read (then the person is told).
    std::optional<std::vector<std::uint8_t>> copyPng(std::optional<std::size_t> selected);
    // Tiles dragged out: each whole, as a file in `folder`.
    std::vector<std::filesystem::path> writeDragged(const std::vector<std::size_t>& rows,
                                                    const std::filesystem::path& folder) const;
    // What resting on tile `row` tells.
    std::string toolTip(std::size_t row) const;

private:
    class Harvest;

    // What a long job sees of the window.
    HarvestWindow& window();
    void show();
    void showStatus(std::variant<std::string, std::filesystem::path> status);
    void chooseMode(SourceMode mode);
    bool harvest();
    std::vector<Tile> tilesAt(const std::vector<std::size_t>& rows) const;
    std::optional<Tile> tileAt(std::optional<std::size_t> row);

    MainWindowView& m_view;
    Asker& m_asker;
    Owner m_owner;
    const PngDecoder* m_png = nullptr;
    SourceControls m_sources;
    std::variant<std::string, std::filesystem::path> m_status;
    Surface m_preview;
    TileCollection m_tiles;
    FolderKeys m_folderKeys;
    JobRunner m_jobs;
    bool m_includesCursors = false;
    std::unique_ptr<Harvest> m_window;
};

} // namespace orvu
