#include "app/tile_actions.h"

#include "app/icon_details_window.h"
#include "app/main_window.h"
#include "app/main_window_harvest.h"
#include "app/save_dialog.h"
#include "app/status_line.h"
#include "app/tile_mime_data.h"
#include "app/window_design.h"
#include "controls/list_view.h"
#include "harvest/batch_export.h"
#include "harvest/icon_details.h"
#include "harvest/messages.h"
#include "harvest/tile_actions.h"
#include "qt/dialogs.h"
#include "qt/qt_bridge.h"
#include "qt/qt_text.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <algorithm>
#include <array>

namespace orvu {
namespace {

// What saving many offers, in this order.
constexpr std::array<SaveFormat, 2> SaveManyFormats{SaveFormat::Ico, SaveFormat::Png};

} // namespace

TileActions::TileActions(MainWindow& window) : m_window(window) {}

TileActions::~TileActions() = default;

void TileActions::listPressed(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint position) {
    if (button != Qt::RightButton)
        return;
    const MainWindow::Controls& c = m_window.controls();
    // Saving many waits until no long job runs.
    const bool idle = m_window.jobs().running() == JobRunner::Job::None;
    const bool selected = c.iconList->selectionModel()->hasSelection();
    c.saveSelectedAction->setEnabled(idle && selected);
    c.saveAllAction->setEnabled(idle && !m_window.tiles().empty());
    c.copyAction->setEnabled(selected);
    c.tileMenu->popup(c.iconList->viewport()->mapToGlobal(position));
}

std::optional<Tile> TileActions::selectedTile() const {
    const auto row = m_window.controls().iconList->selectedRow();
    if (!row || static_cast<std::size_t>(*row) >= m_window.tiles().size())
        return std::nullopt;
    return m_window.tiles().at(static_cast<std::size_t>(*row));
}

std::vector<Tile> TileActions::tilesAt(const QList<int>& rows) const {
    const TileCollection& tiles = m_window.tiles();
    std::vector<Tile> chosen;
    chosen.reserve(static_cast<std::size_t>(rows.size()));
    for (int row : rows) {
        if (row >= 0 && static_cast<std::size_t>(row) < tiles.size())
            chosen.push_back(tiles.at(static_cast<std::size_t>(row)));
    }
    return chosen;
}

void TileActions::saveSelected() {
    const auto tile = selectedTile();
    if (!tile) {
        m_window.dialogs().tell(&m_window, QString::fromUtf8(messages::noTileSelected()));
        return;
    }
    saveThroughDialog(&m_window, m_window.dialogs(), tileSubject(*tile, m_window.png()));
}

void TileActions::showSelectedDetails() {
    const auto tile = selectedTile();
    if (!tile) {
        m_window.dialogs().tell(&m_window, QString::fromUtf8(messages::noTileSelected()));
        return;
    }
    auto details = IconDetails::open(tile->origin, m_window.png());
    if (!details) {
        m_window.dialogs().tell(
            &m_window, fromUtf8(messages::cannotReadIcon(tile->origin, details.failure())));
        return;
    }
    auto* window = new IconDetailsWindow(std::move(*details), m_window.dialogs(), &m_window);
    // Below and right of the main window, as far as the screen has room.
    QPoint at = m_window.pos() + QPoint(24, 48);
    if (const QScreen* screen = m_window.screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - window->width())));
        at.setY(std::max(room.top(), std::min(at.y(), room.bottom() + 1 - window->height())));
    }
    window->move(at);
    window->show();
}

void TileActions::saveSelectedTiles() {
    saveMany(m_window.controls().iconList->selectedRows());
}

void TileActions::saveAll() {
    QList<int> rows;
    for (int row = 0; row < m_window.controls().iconList->model()->rowCount(); ++row)
        rows.append(row);
    saveMany(rows);
}

void TileActions::saveMany(const QList<int>& rows) {
    if (rows.isEmpty() || m_window.jobs().running() != JobRunner::Job::None)
        return;
    Dialogs& dialogs = m_window.dialogs();
    // The tiles as they are now: a new harvest meanwhile doesn't change them.
    const std::vector<Tile> tiles = tilesAt(rows);
    // Saved whole, each cursor becomes a .cur or .ani, and the choice says so.
    const bool cursors = std::any_of(tiles.begin(), tiles.end(), [](const Tile& tile) {
        return tile.origin.kind != TileKind::Icon;
    });
    QStringList choices;
    for (const SaveFormat format : SaveManyFormats) {
        choices << filterText(
            format == SaveFormat::Ico && cursors
                ? FileFilter{qtText("Icon and cursor files"), QStringLiteral("*.ico *.cur *.ani")}
                : saveFilterOf(format));
    }
    const auto chosen = dialogs.chooseFolderAnd(&m_window, qtText("Save Icons to a Folder"),
                                                qtText("Save as:"), choices);
    if (!chosen)
        return;
    const SaveFormat format = SaveManyFormats[static_cast<std::size_t>(
        std::clamp(chosen->choice, 0, static_cast<int>(SaveManyFormats.size()) - 1))];
    const std::filesystem::path folder = toPath(chosen->folder);
    ExistingFiles existing = ExistingFiles::KeepWithCounter;
    if (const std::size_t taken = existingNames(tiles, folder, format);
        taken > 0 && dialogs.confirm(&m_window, fromUtf8(messages::replaceExistingFiles(taken))))
        existing = ExistingFiles::Replace;

    m_window.jobs().save([&] {
        StatusLine* statusLine = m_window.controls().statusLine;
        const QString status = statusLine->text();
        MainWindowHarvest window(m_window);
        const BatchOutcome outcome =
            exportTiles(window, tiles, folder, format, existing, m_window.png());
        if (m_window.ending())
            return;
        statusLine->setText(status);
        std::string summary =
            messages::savedSummary(outcome.saved, outcome.failed, outcome.stopped);
        if (outcome.incomplete > 0)
            summary += "\n" + messages::incompleteIcons(outcome.incomplete);
        if (outcome.failed.empty() && !outcome.stopped && outcome.incomplete == 0)
            dialogs.inform(&m_window, fromUtf8(summary));
        else
            dialogs.tell(&m_window, fromUtf8(summary));
    });
}

void TileActions::copySelected() {
    const auto tile = selectedTile();
    if (!tile)
        return;
    const auto bytes = tileFileBytes(*tile, SaveFormat::Png, m_window.png());
    if (!bytes) {
        m_window.dialogs().tell(&m_window,
                                fromUtf8(messages::cannotReadIcon(tile->origin, bytes.failure())));
        return;
    }
    const QByteArray png = toByteArray(bytes->bytes);
    // The largest image with its alpha, as a picture and as PNG data.
    auto* copied = new QMimeData;
    copied->setData(QStringLiteral("image/png"), png);
    copied->setImageData(QImage::fromData(png, "png"));
    QGuiApplication::clipboard()->setMimeData(copied);
}

QMimeData* TileActions::dragData(const QList<int>& rows) {
    if (!m_dragFolder)
        m_dragFolder = std::make_unique<QTemporaryDir>(
            QDir::temp().filePath(QStringLiteral("orvu-icons-drag-XXXXXX")));
    if (!m_dragFolder->isValid())
        return nullptr;
    const QString folder = m_dragFolder->filePath(QStringLiteral("drag-%1").arg(++m_drags));
    QDir().mkpath(folder);
    return new TileMimeData(tilesAt(rows), m_window.png(), folder);
}

QString TileActions::toolTip(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_window.tiles().size())
        return {};
    return fromUtf8(
        tileToolTip(m_window.tiles().origin(static_cast<std::size_t>(row)), m_window.png()));
}

} // namespace orvu
