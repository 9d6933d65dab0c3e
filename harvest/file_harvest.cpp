#include "harvest/file_harvest.h"

#include "export/icon_cell.h"
#include "harvest/messages.h"
#include "icons/cursor_at_size.h"

namespace orvu {
namespace {

// On a denser screen the preview shows tile i drawn at the screen's size
// (`drawn`), which also becomes the tile's cell of that size; where it
// can't be drawn, the harvested cell.
void showSharp(HarvestWindow& window, Result<Surface> drawn, std::size_t i, int size) {
    if (!drawn) {
        window.refreshPreview();
        window.tiles().setCellAt(i, size, std::nullopt);
        return;
    }
    window.showSharpPreview(*drawn);
    window.tiles().setCellAt(i, size, std::move(*drawn));
}

// Draws and appends `count` tiles in order: `add(k)` draws tile k on the
// preview and appends it, false when the harvest must stop (it has said
// why); `drawAt(k, size, background)` draws tile k at another size.
//
// At CellSize the preview is repainted at every tile. On a denser screen it
// shows the tile drawn for it, but only whenever the window is let handle its
// events and at the end, which is all that can be seen of it, and the tiles
// are drawn at that size when they are painted.
template <typename Add, typename DrawAt>
bool harvestTiles(HarvestWindow& window, HarvestPace& pace, std::uint32_t count, Add add,
                  DrawAt drawAt) {
    const int size = window.pictureSize();
    for (std::uint32_t k = 0; k < count; ++k) {
        if (window.tiles().size() >= window.tileLimit()) {
            window.reportProblem(messages::tileLimitReached(window.tileLimit()));
            return false;
        }
        if (!add(k))
            return false;
        if (size == CellSize)
            window.refreshPreview();
        const bool last = k + 1 == count;
        const bool yielding = !last && pace.due();
        if (size != CellSize && (last || yielding))
            showSharp(window, drawAt(k, size, window.previewBackground()),
                      window.tiles().size() - 1, size);
        if (yielding && !pace.yield())
            return false;
    }
    return true;
}

} // namespace

bool harvestIcons(HarvestWindow& window, HarvestPace& pace, const FileIcons& icons) {
    const auto add = [&](std::uint32_t k) {
        const auto icon = icons.iconAt(k);
        IconCell cell =
            renderCell(window.previewImage(), window.previewBackground(), icon ? &*icon : nullptr);
        const TileCollection::Key key = icons.keyFor(k);
        if (window.tiles().append(key, std::move(cell), window.previewBackground(),
                                  IconOrigin{icons.file, k, GroupKind::Icon}))
            return true;
        window.reportProblem(messages::keyTaken(TileCollection::keyText(key), *icons.file));
        return false;
    };
    const auto drawAt = [&](std::uint32_t k, int size, std::uint32_t background) {
        return icons.drawAt ? icons.drawAt(k, size, background)
                            : Result<Surface>(Failure{Failure::Kind::NoSuchIcon, {}});
    };
    return harvestTiles(window, pace, icons.count, add, drawAt);
}

bool harvestCursors(HarvestWindow& window, HarvestPace& pace,
                    const std::shared_ptr<const std::filesystem::path>& file,
                    IconLibrary& library) {
    for (const GroupKind kind : {GroupKind::Cursor, GroupKind::Animated}) {
        const auto add = [&](std::uint32_t k) {
            const auto cursor = library.cursorAt({kind, k}, CellSize);
            IconCell cell = renderCell(window.previewImage(), window.previewBackground(),
                                       cursor ? &cursor->bitmap : nullptr);
            window.tiles().appendCursor(std::move(cell), window.previewBackground(),
                                        IconOrigin{file, k, kind});
            return true;
        };
        const auto drawAt = [&](std::uint32_t k, int size,
                                std::uint32_t background) -> Result<Surface> {
            auto drawn = drawCursorAt(library, {kind, k}, size, background);
            if (!drawn)
                return drawn.failure();
            return std::move(drawn->surface);
        };
        if (!harvestTiles(window, pace, library.count(kind), add, drawAt))
            return false;
    }
    return true;
}

bool harvestsCursorsOf(const HarvestWindow& window, IconLibrary& library) {
    if (window.includesCursors())
        return true;
    // A cursor file holds one cursor and no icons; unlike a program's
    // cursor, its cursor has neither a number nor a name.
    const std::uint32_t cursors =
        library.count(GroupKind::Cursor) + library.count(GroupKind::Animated);
    if (library.count() != 0 || cursors != 1)
        return false;
    const auto name = library.name(GroupRef{
        library.count(GroupKind::Cursor) == 1 ? GroupKind::Cursor : GroupKind::Animated, 0});
    return name && !name->id && name->name.empty();
}

} // namespace orvu
