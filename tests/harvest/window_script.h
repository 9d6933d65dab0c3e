#pragma once

// The main window's controller driven as a person drives the window, with a
// scripted front end: a view that keeps what it is shown, and an asker that
// answers from a script.

#include "harvest/harvest_controller.h"
#include "platform/path_text.h"
#include "png/default_decoder.h"
#include "support/icon_builders.h"
#include "support/scripted_asker.h"
#include "support/test_files.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace orvu::test {

// A front end's main window as plain data. At each turn of its events (a
// long job's yield) it runs what the script does then.
class ScriptedView final : public MainWindowView {
public:
    void showSources(const SourceControls& controls) override { sources = controls; }
    void showStatus(const std::string& text) override { statuses.push_back(text); }
    void showStatus(const std::filesystem::path& path) override {
        statuses.push_back(displayText(path));
    }
    std::uint32_t previewBackground() const override { return 0xFFFFFF; }
    void showPreview(const Surface& picture) override { preview = picture; }
    // A long job yields as often as it can.
    std::chrono::milliseconds longestPause() const override { return {}; }
    void handleEvents() override {
        ++turns;
        if (const auto act = atTurn.find(turns); act != atTurn.end())
            act->second();
    }

    // What the person does at the n-th turn (from 1).
    std::map<int, std::function<void()>> atTurn;

    SourceControls sources;
    std::vector<std::string> statuses;
    Surface preview;
    int turns = 0;
};

// An executable whose icon i is a solid square of colours[i].
inline void writeExecutable(const std::filesystem::path& path,
                            const std::vector<std::uint32_t>& colours) {
    std::vector<GroupResource> groups;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        GroupResource group;
        group.name = static_cast<std::uint16_t>(i + 1);
        group.images = {{groupEntry(32, 32, 24, 0), solidDib(32, 24, colours[i])}};
        groups.push_back(group);
    }
    std::filesystem::create_directories(path.parent_path());
    writeFile(path, buildPe(groups));
}

class WindowFlows {
public:
    WindowFlows() : window(view, asker, Owner{this}, defaultPngDecoder()) { window.load(); }

    // The file chosen through the file picker in file mode.
    void chooseFile(const std::filesystem::path& file) {
        window.chooseFileMode();
        asker.answer(file);
        window.pickFile();
    }
    void chooseFolder(const std::filesystem::path& folder) {
        window.chooseFolderMode();
        asker.answer(folder);
        window.pickFolder();
    }
    std::vector<std::string> captions() const {
        std::vector<std::string> shown;
        for (std::size_t i = 0; i < window.tiles().size(); ++i)
            shown.push_back(window.tiles().caption(i));
        return shown;
    }
    std::vector<std::string> keys() const {
        std::vector<std::string> shown;
        for (std::size_t i = 0; i < window.tiles().size(); ++i)
            shown.push_back(window.tiles().key(i));
        return shown;
    }
    std::string status() const { return view.statuses.empty() ? "" : view.statuses.back(); }

    ScriptedView view;
    ScriptedAsker asker;
    HarvestController window;
    TempDir dir;
};

} // namespace orvu::test
