// What the main window's tiles offer (HarvestController): saving one or
// many, the details, copying and dragging out.

#include "harvest/batch_export.h"
#include "harvest/harvest_controller.h"
#include "harvest/icon_save.h"
#include "harvest/messages.h"
#include "harvest/tile_actions.h"
#include "platform/user_folders.h"
#include "texts/text.h"

#include <algorithm>

namespace orvu {
namespace {

// What saving many offers: every group whole in its own kind's format, then
// each format that keeps one image, in the table's order.
std::vector<SaveFormat> manyFormats() {
    std::vector<SaveFormat> formats{wholeFormatOf(GroupKind::Icon)};
    for (const SaveFormatRow& row : saveFormats()) {
        if (row.savesMany && row.keeps != Keeps::WholeGroup)
            formats.push_back(row.format);
    }
    return formats;
}

// The choice of a format for saving many, as its type: saved whole, each
// cursor becomes a .cur or .ani, and the choice says so.
std::string manyChoiceOf(SaveFormat format, bool cursors) {
    if (rowOf(format).keeps != Keeps::WholeGroup || !cursors)
        return typeLabel(fileTypeOf(format));
    std::string patterns;
    for (const SaveFormatRow& row : saveFormats()) {
        if (row.keeps == Keeps::WholeGroup)
            patterns += (patterns.empty() ? "*" : " *") + std::string(row.extension);
    }
    return typeLabel({text("Icon and cursor files"), patterns});
}

} // namespace

std::optional<Tile> HarvestController::tileAt(std::optional<std::size_t> row) {
    if (!row || *row >= m_tiles.size())
        return std::nullopt;
    return m_tiles.at(*row);
}

std::vector<Tile> HarvestController::tilesAt(const std::vector<std::size_t>& rows) const {
    std::vector<Tile> chosen;
    chosen.reserve(rows.size());
    for (const std::size_t row : rows) {
        if (row < m_tiles.size())
            chosen.push_back(m_tiles.at(row));
    }
    return chosen;
}

HarvestController::TileMenu HarvestController::tileMenu(bool selection) const {
    // Saving many waits until no long job runs.
    const bool idle = m_jobs.running() == JobRunner::Job::None;
    return {idle && selection, idle && !m_tiles.empty(), selection};
}

void HarvestController::saveTile(std::optional<std::size_t> selected) {
    const auto tile = tileAt(selected);
    if (!tile) {
        m_asker.tell(m_owner, messages::noTileSelected());
        return;
    }
    saveWithAsker(m_asker, m_owner, tileSubject(*tile, m_png));
}

void HarvestController::saveAllTiles() {
    std::vector<std::size_t> rows(m_tiles.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = i;
    saveTiles(rows);
}

void HarvestController::saveTiles(const std::vector<std::size_t>& rows) {
    if (rows.empty() || m_jobs.running() != JobRunner::Job::None)
        return;
    // The tiles as they are now: a new harvest meanwhile doesn't change them.
    const std::vector<Tile> tiles = tilesAt(rows);
    const bool cursors = std::any_of(tiles.begin(), tiles.end(), [](const Tile& tile) {
        return tile.origin.kind != GroupKind::Icon;
    });
    const std::vector<SaveFormat> formats = manyFormats();
    FolderQuestion question{text("Save Icons to a Folder"), homeFolder(), text("Save as:"), {}};
    for (const SaveFormat format : formats)
        question.choices.push_back(manyChoiceOf(format, cursors));
    const auto chosen = m_asker.chooseFolder(m_owner, question);
    if (!chosen)
        return;
    const SaveFormat format = formats[std::min(chosen->choice, formats.size() - 1)];
    ExistingFiles existing = ExistingFiles::KeepWithCounter;
    if (const std::size_t taken = existingNames(tiles, chosen->folder, format); taken > 0) {
        switch (m_asker.ask(m_owner, messages::replaceExistingFiles(taken), true)) {
        case Reply::Yes:
            existing = ExistingFiles::Replace;
            break;
        case Reply::No:
            break;
        case Reply::Cancel:
            return;
        }
    }

    m_jobs.save([&] {
        const auto status = m_status;
        const BatchOutcome outcome =
            exportTiles(window(), tiles, chosen->folder, format, existing, m_png);
        if (m_jobs.ending())
            return;
        showStatus(status);
        std::string summary =
            messages::savedSummary(outcome.saved, outcome.failed, outcome.stopped);
        if (outcome.incomplete > 0)
            summary += "\n" + messages::incompleteIcons(outcome.incomplete);
        if (outcome.failed.empty() && !outcome.stopped && outcome.incomplete == 0)
            m_asker.inform(m_owner, summary);
        else
            m_asker.tell(m_owner, summary);
    });
}

std::optional<IconDetails> HarvestController::details(std::optional<std::size_t> selected) {
    const auto tile = tileAt(selected);
    if (!tile) {
        m_asker.tell(m_owner, messages::noTileSelected());
        return std::nullopt;
    }
    auto details = IconDetails::open(tile->origin, m_png);
    if (!details) {
        m_asker.tell(m_owner, messages::cannotReadIcon(tile->origin, details.failure()));
        return std::nullopt;
    }
    return std::move(*details);
}

std::optional<std::vector<std::uint8_t>>
HarvestController::copyPng(std::optional<std::size_t> selected) {
    const auto tile = tileAt(selected);
    if (!tile)
        return std::nullopt;
    auto bytes = tileFileBytes(*tile, SaveFormat::Png, m_png);
    if (!bytes) {
        m_asker.tell(m_owner, messages::cannotReadIcon(tile->origin, bytes.failure()));
        return std::nullopt;
    }
    return std::move(bytes->bytes);
}

std::vector<std::filesystem::path>
HarvestController::writeDragged(const std::vector<std::size_t>& rows,
                                const std::filesystem::path& folder) const {
    return writeIconFiles(tilesAt(rows), folder, m_png);
}

std::string HarvestController::toolTip(std::size_t row) const {
    if (row >= m_tiles.size())
        return {};
    return tileToolTip(m_tiles.origin(row), m_png);
}

} // namespace orvu
