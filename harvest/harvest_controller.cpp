#include "harvest/harvest_controller.h"

#include "harvest/messages.h"
#include "harvest/source_choice.h"
#include "harvest/start_command.h"
#include "platform/path_text.h"
#include "platform/user_folders.h"
#include "texts/text.h"

namespace orvu {

// The harvest's view of the window: the controller's tiles, preview surface
// and state, shown through the front end's view; its problems told through
// the asker.
class HarvestController::Harvest final : public HarvestWindow {
public:
    explicit Harvest(HarvestController& controller) : m_c(controller) {}

    Surface& previewImage() override { return m_c.m_preview; }
    std::uint32_t previewBackground() const override { return m_c.m_view.previewBackground(); }
    void refreshPreview() override { m_c.m_view.showPreview(m_c.m_preview); }
    int pictureSize() const override { return m_c.m_view.pictureSize(); }
    void showSharpPreview(const Surface& picture) override { m_c.m_view.showSharpPreview(picture); }
    TileCollection& tiles() override { return m_c.m_tiles; }
    void setStartEnabled(bool enabled) override {
        m_c.m_sources.startEnabled = enabled;
        m_c.show();
    }
    void showStatus(const std::string& text) override { m_c.showStatus(text); }
    void showStatus(const std::filesystem::path& path) override { m_c.showStatus(path); }
    bool yieldToEvents() override {
        m_c.m_view.showTilesSoFar();
        m_c.m_view.handleEvents();
        return m_c.m_jobs.mayContinue();
    }
    std::chrono::milliseconds longestPause() const override { return m_c.m_view.longestPause(); }
    bool includesCursors() const override { return m_c.m_includesCursors; }
    void reportProblem(const std::string& message) override {
        m_c.m_view.showTilesSoFar();
        m_c.m_asker.tell(m_c.m_owner, message);
    }

private:
    HarvestController& m_c;
};

HarvestController::HarvestController(MainWindowView& view, Asker& asker, Owner owner,
                                     const PngDecoder* png)
    : m_view(view), m_asker(asker), m_owner(owner), m_png(png),
      m_preview(Surface::filled(PreviewSize, PreviewSize, view.previewBackground())),
      m_window(std::make_unique<Harvest>(*this)) {
    m_jobs.harvest = [this] { return harvest(); };
    m_jobs.harvestStopped = [this](JobRunner::Stop why) {
        showStatus(std::string(why == JobRunner::Stop::ByUser ? messages::stopped()
                                                              : messages::idlePrompt()));
    };
    m_view.showPreview(m_preview);
    showStatus(std::string(messages::idlePrompt()));
}

HarvestController::~HarvestController() = default;

std::string HarvestController::status() const {
    if (const auto* path = std::get_if<std::filesystem::path>(&m_status))
        return displayText(*path);
    return std::get<std::string>(m_status);
}

HarvestWindow& HarvestController::window() {
    return *m_window;
}

void HarvestController::show() {
    m_view.showSources(m_sources);
}

void HarvestController::showStatus(std::variant<std::string, std::filesystem::path> status) {
    m_status = std::move(status);
    if (const auto* path = std::get_if<std::filesystem::path>(&m_status))
        m_view.showStatus(*path);
    else
        m_view.showStatus(std::get<std::string>(m_status));
}

void HarvestController::load() {
    m_sources = SourceControls{};
    show();
}

void HarvestController::chooseMode(SourceMode mode) {
    if (m_sources.mode != mode)
        m_jobs.leaveSource();
    m_sources.mode = mode;
    (mode == SourceMode::File ? m_sources.folder : m_sources.file).clear();
    show();
}

void HarvestController::chooseFileMode() {
    chooseMode(SourceMode::File);
}

void HarvestController::chooseFolderMode() {
    chooseMode(SourceMode::Folder);
}

void HarvestController::pickFile() {
    // The list empties before the dialog opens, even if it is then cancelled.
    m_jobs.leaveSource();
    m_tiles.clear();
    const auto chosen =
        m_asker.openFile(m_owner, {text("Orvu Icon Extractor D2002 10 25"),
                                   {{"(*.exe)", "*.exe"}, {"(*.cur *.ani)", "*.cur *.ani"}},
                                   rootFolder()});
    m_sources.file = chosen ? trimBlanks(*chosen) : std::filesystem::path();
    m_sources.startEnabled = true;
    show();
}

void HarvestController::pickFolder() {
    // The list empties only once the dialog has closed.
    m_jobs.leaveSource();
    const auto chosen = m_asker.chooseFolder(
        m_owner,
        {text("Please choose the folder to extract icons from........"), homeFolder(), {}, {}});
    m_sources.folder = chosen ? chosen->folder : std::filesystem::path();
    m_sources.startEnabled = true;
    show();
    m_tiles.clear();
}

void HarvestController::start() {
    // Pressed while a job yields: that job's end runs it.
    m_jobs.start();
}

void HarvestController::stop() {
    m_jobs.stopByUser();
}

bool HarvestController::harvest() {
    m_view.harvestBegins();
    const bool ranToItsEnd =
        StartCommand(window(), m_folderKeys, m_png).run(m_sources.file, m_sources.folder);
    m_view.harvestEnds();
    return ranToItsEnd;
}

void HarvestController::openPaths(const std::vector<std::filesystem::path>& paths) {
    if (paths.size() != 1) {
        m_asker.tell(m_owner, messages::dropOneItem());
        return;
    }
    openPath(paths.front());
}

void HarvestController::openPath(const std::filesystem::path& path) {
    const auto source = chooseSource(path);
    if (!source) {
        m_asker.tell(m_owner, messages::cannotReadFile(path, source.failure()));
        return;
    }
    // As the pickers do: the old source's harvest stops, the list empties.
    m_jobs.leaveSource();
    const bool folder = source->mode == SourceChoice::Mode::Folder;
    chooseMode(folder ? SourceMode::Folder : SourceMode::File);
    m_tiles.clear();
    (folder ? m_sources.folder : m_sources.file) = source->path;
    m_sources.startEnabled = true;
    show();
    start();
}

bool HarvestController::end() {
    if (m_jobs.ending())
        return false;
    m_jobs.end();
    return true;
}

void HarvestController::setIncludesCursors(bool include) {
    if (include == m_includesCursors)
        return;
    m_includesCursors = include;
    if (onIncludesCursorsChanged)
        onIncludesCursorsChanged(include);
    // The tiles follow the choice at once: a source harvested since it was
    // chosen (Start is disabled then) is harvested again.
    const bool harvested =
        !m_sources.startEnabled && !(m_sources.file.empty() && m_sources.folder.empty());
    if (harvested)
        start();
}

} // namespace orvu
