#include "harvest/file_harvest.h"

#include "export/icon_cell.h"
#include "harvest/messages.h"

namespace orvu {
namespace {

// The cell drawn on the window's preview surface, which is repainted at once.
IconCell renderCell(HarvestWindow& window, const IconBitmap* icon) {
    IconCell cell = renderCell(window.previewImage(), window.previewBackground(), icon);
    window.refreshPreview();
    return cell;
}

// Draws and appends `count` tiles in order: `add(k)` appends tile k, false
// when the harvest must stop (it has said why).
template <typename Add>
bool harvestTiles(HarvestWindow& window, HarvestPace& pace, std::uint32_t count, Add add) {
    for (std::uint32_t k = 0; k < count; ++k) {
        if (window.tiles().size() >= window.tileLimit()) {
            window.reportProblem(messages::tileLimitReached(window.tileLimit()));
            return false;
        }
        if (!add(k))
            return false;
        if (k + 1 < count && pace.due() && !pace.yield())
            return false;
    }
    return true;
}

} // namespace

bool harvestIcons(HarvestWindow& window, HarvestPace& pace, const FileIcons& icons) {
    return harvestTiles(window, pace, icons.count, [&](std::uint32_t k) {
        const auto icon = icons.iconAt(k);
        IconCell cell = renderCell(window, icon ? &*icon : nullptr);
        const TileCollection::Key key = icons.keyFor(k);
        if (window.tiles().append(key, std::move(cell), window.previewBackground(),
                                  IconOrigin{icons.file, k, TileKind::Icon}))
            return true;
        window.reportProblem(messages::keyTaken(TileCollection::keyText(key), *icons.file));
        return false;
    });
}

bool harvestCursors(HarvestWindow& window, HarvestPace& pace,
                    const std::shared_ptr<const std::filesystem::path>& file,
                    IconLibrary& library) {
    for (const TileKind kind : {TileKind::Cursor, TileKind::Animated}) {
        const GroupKind group = groupKindOf(kind);
        const bool goOn = harvestTiles(window, pace, library.count(group), [&](std::uint32_t k) {
            const auto cursor = library.cursorAt({group, k}, CellSize);
            IconCell cell = renderCell(window, cursor ? &cursor->bitmap : nullptr);
            window.tiles().appendCursor(std::move(cell), window.previewBackground(),
                                        IconOrigin{file, k, kind});
            return true;
        });
        if (!goOn)
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
