// The main window's sources as a person chooses them: the two modes, the
// pickers, Start, and paths dropped or handed over.

#include "harvest/messages.h"
#include "support/shortcut_builders.h"
#include "window_script.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

namespace fs = std::filesystem;
using test::WindowFlows;

// What the person does.
enum class Act { FileMode, FolderMode, PickFile, PickFolder, Start };

struct Step {
    Act act;
    std::optional<std::string> answer = std::nullopt; // a picker's; nullopt cancels
};

struct SourcesCase {
    const char* name;
    std::vector<Step> steps;
    SourceMode mode;
    std::string file;
    std::string folder;
    bool startEnabled;
    std::size_t tiles;
};

class Sources : public ::testing::TestWithParam<SourcesCase>, protected WindowFlows {};

// Each relative path of a step's answer and of the expected boxes (UTF-8) is
// taken in the test's folder, where "a.exe" holds two icons.
TEST_P(Sources, followTheStateTable) {
    const SourcesCase& c = GetParam();
    test::writeExecutable(dir / "a.exe", {0xFF0000, 0x00FF00});
    const auto inDir = [&](const std::string& path) {
        const fs::path named(std::u8string(path.begin(), path.end()));
        return path.empty() || path.starts_with(" ") || path.starts_with("/") ? named
                                                                              : dir.path() / named;
    };
    for (const Step& step : c.steps) {
        switch (step.act) {
        case Act::FileMode:
            window.chooseFileMode();
            break;
        case Act::FolderMode:
            window.chooseFolderMode();
            break;
        case Act::PickFile:
        case Act::PickFolder:
            if (step.answer)
                asker.answer(inDir(*step.answer));
            else
                asker.cancelNext();
            if (step.act == Act::PickFile)
                window.pickFile();
            else
                window.pickFolder();
            break;
        case Act::Start:
            window.start();
            break;
        }
    }
    EXPECT_EQ(view.sources.mode, c.mode);
    EXPECT_EQ(view.sources.file, inDir(c.file));
    EXPECT_EQ(view.sources.folder, inDir(c.folder));
    EXPECT_EQ(view.sources.startEnabled, c.startEnabled);
    EXPECT_EQ(window.tiles().size(), c.tiles);
    EXPECT_TRUE(asker.told.empty()) << asker.told.front();
}

using A = Act;
INSTANTIATE_TEST_SUITE_P(
    Window, Sources,
    ::testing::Values(
        SourcesCase{"afterLoad", {}, SourceMode::None, "", "", false, 0},
        SourcesCase{"fileMode", {{A::FileMode}}, SourceMode::File, "", "", false, 0},
        SourcesCase{"folderModeAfterFileMode",
                    {{A::FileMode}, {A::FolderMode}},
                    SourceMode::Folder,
                    "",
                    "",
                    false,
                    0},
        SourcesCase{"fileModeTwiceKeepsThePath",
                    {{A::FileMode}, {A::PickFile, "a.exe"}, {A::FileMode}},
                    SourceMode::File,
                    "a.exe",
                    "",
                    true,
                    0},
        SourcesCase{"fileHarvested",
                    {{A::FileMode}, {A::PickFile, "a.exe"}, {A::Start}},
                    SourceMode::File,
                    "a.exe",
                    "",
                    false,
                    2},
        // Switching mode empties the other box, keeps Start and the tiles.
        SourcesCase{"otherModeAfterAHarvest",
                    {{A::FileMode},
                     {A::PickFile, "a.exe"},
                     {A::Start},
                     {A::PickFile, "a.exe"},
                     {A::FolderMode}},
                    SourceMode::Folder,
                    "",
                    "",
                    true,
                    0},
        // Both boxes empty: Start only empties the list and is disabled.
        SourcesCase{"startWithBothBoxesEmpty",
                    {{A::FileMode}, {A::PickFile, "a.exe"}, {A::FolderMode}, {A::Start}},
                    SourceMode::Folder,
                    "",
                    "",
                    false,
                    0},
        SourcesCase{"filePickerCancelled",
                    {{A::FileMode}, {A::PickFile, "a.exe"}, {A::PickFile}},
                    SourceMode::File,
                    "",
                    "",
                    true,
                    0},
        SourcesCase{"chosenFileIsTrimmed",
                    {{A::FileMode}, {A::PickFile, "  /data/长 名字/app.exe \t　"}},
                    SourceMode::File,
                    "/data/长 名字/app.exe",
                    "",
                    true,
                    0},
        // Unicode's 25 blanks (White_Space), of one, two and three bytes in UTF-8.
        SourcesCase{"chosenFileIsTrimmedOfEveryBlank",
                    {{A::FileMode},
                     {A::PickFile, " \t\n\v\f\r\u0085\u00a0\u1680/data/app.exe"
                                   "\u2000\u2001\u2002\u2003\u2004\u2005\u2006\u2007\u2008"
                                   "\u2009\u200a\u2028\u2029\u202f\u205f\u3000"}},
                    SourceMode::File,
                    "/data/app.exe",
                    "",
                    true,
                    0},
        SourcesCase{"folderKeepsItsSlash",
                    {{A::FolderMode}, {A::PickFolder, "/some/folder/"}},
                    SourceMode::Folder,
                    "",
                    "/some/folder/",
                    true,
                    0},
        SourcesCase{"folderPickerCancelled",
                    {{A::FolderMode}, {A::PickFolder, "/some/folder/"}, {A::PickFolder}},
                    SourceMode::Folder,
                    "",
                    "",
                    true,
                    0}),
    [](const auto& row) { return std::string(row.param.name); });

// The file picker empties the list before its dialog opens, the folder
// picker only once its dialog has closed; what each dialog asks.
TEST(Pickers, emptyTheListBeforeOrAfterTheirDialogs) {
    WindowFlows flows;
    test::writeExecutable(flows.dir / "a.exe", {0xFF0000});
    struct Case {
        Act picker;
        std::size_t tilesWhenAsked;
        std::string title;
    };
    const Case cases[] = {{Act::PickFile, 0, "Orvu图标提取器 D2002 10 25"},
                          {Act::PickFolder, 1, "请选择要提取图标的文件夹........"}};
    for (const Case& c : cases) {
        flows.chooseFile(flows.dir / "a.exe");
        flows.window.start();
        ASSERT_EQ(flows.window.tiles().size(), 1u);
        std::size_t tilesWhenAsked = 99;
        flows.asker.onOpen = [&] { tilesWhenAsked = flows.window.tiles().size(); };
        flows.asker.cancelNext();
        if (c.picker == Act::PickFile) {
            flows.window.pickFile();
        } else {
            flows.window.chooseFolderMode();
            flows.window.pickFolder();
        }
        flows.asker.onOpen = nullptr;
        EXPECT_EQ(tilesWhenAsked, c.tilesWhenAsked) << c.title;
        EXPECT_TRUE(flows.window.tiles().empty()) << c.title;
        const auto& asked = flows.asker.dialogs.back();
        EXPECT_EQ(asked.owner.window, &flows) << c.title;
        if (c.picker == Act::PickFile) {
            EXPECT_EQ(asked.file.title, c.title);
            // Programs first, as designed; cursor files, then shortcuts, as choices
            // of their own.
            EXPECT_EQ(asked.file.types, (std::vector<FileType>{{"(*.exe)", "*.exe"},
                                                               {"(*.cur *.ani)", "*.cur *.ani"},
                                                               {"(*.lnk *.url desktop.ini)",
                                                                "*.lnk *.url desktop.ini"}}));
            EXPECT_EQ(asked.file.start, fs::current_path().root_path());
        } else {
            EXPECT_EQ(asked.folder.title, c.title);
        }
    }
}

TEST(Start, harvestsTheFileIntoNumberedTilesAndStaysDisabled) {
    WindowFlows flows;
    test::writeExecutable(flows.dir / "three.exe", {0xFF0000, 0x00FF00, 0x0000FF});
    flows.chooseFile(flows.dir / "three.exe");
    flows.window.start();
    EXPECT_EQ(flows.keys(), (std::vector<std::string>{"my0", "my1", "my2"}));
    EXPECT_EQ(flows.captions(), (std::vector<std::string>{"图标1", "图标2", "图标3"}));
    EXPECT_EQ(flows.window.tiles().cell(1).pixel(10, 10), 0x00FF00u);
    EXPECT_FALSE(flows.view.sources.startEnabled);
    // The preview shows the last icon drawn, on its background.
    EXPECT_EQ(flows.view.preview.pixel(5, 5), 0x0000FFu);
    EXPECT_EQ(flows.view.preview.pixel(32, 32), 0xFFFFFFu);
}

// A folder's tree, each image once; a file or folder that isn't there is said.
TEST(Start, harvestsAFolderOrSaysWhatItCannotRead) {
    struct Case {
        const char* name;
        bool folderMode;
        std::vector<std::string> keys;
        std::string told; // part of the one message, or nothing told
    };
    const Case cases[] = {
        {"tree", true, {"my1", "my2", "my3"}, ""},
        // The system's reason in the window's language.
        {"nowhere", true, {}, "nowhere"},
        {"gone.exe", false, {}, "gone.exe”：文件或文件夹不存在"},
    };
    for (const Case& c : cases) {
        WindowFlows flows;
        test::writeExecutable(flows.dir / "tree/a.exe", {1, 2});
        test::writeExecutable(flows.dir / "tree/sub/b.EXE", {3});
        test::writeFile(flows.dir / "tree/notes.txt", {'x'});
        if (c.folderMode)
            flows.chooseFolder(flows.dir / c.name);
        else
            flows.chooseFile(flows.dir / c.name);
        flows.window.start();
        EXPECT_EQ(flows.keys(), c.keys) << c.name;
        EXPECT_EQ(flows.asker.told.size(), c.told.empty() ? 0u : 1u) << c.name;
        if (!c.told.empty() && !flows.asker.told.empty()) {
            EXPECT_NE(flows.asker.told[0].find(c.told), std::string::npos) << flows.asker.told[0];
        }
        EXPECT_FALSE(flows.window.ending());
    }
}

// A file or folder dropped on the window, or named at start, is chosen as a
// picker would choose it and harvested at once.
TEST(OpenPaths, aDroppedFileOrFolderIsHarvestedAndAnythingElseRefused) {
    WindowFlows flows;
    const fs::path file = flows.dir / "one/a.exe";
    test::writeExecutable(file, {0xFF0000, 0x00FF00});
    test::writeExecutable(flows.dir / "one/b.exe", {0x0000FF});
    struct Case {
        std::vector<fs::path> paths;
        std::size_t tiles;
        SourceMode mode;
        std::string told;
    };
    const fs::path folder = flows.dir / "one";
    const Case cases[] = {
        {{file}, 2, SourceMode::File, {}},
        {{folder}, 3, SourceMode::Folder, {}},
        {{folder, folder}, 3, SourceMode::Folder, "请只拖入一个文件或一个文件夹。"},
        {{}, 3, SourceMode::Folder, "请只拖入一个文件或一个文件夹。"},
        {{flows.dir / "gone.exe"}, 3, SourceMode::Folder, "gone.exe"},
    };
    for (const Case& c : cases) {
        flows.asker.told.clear();
        flows.window.openPaths(c.paths);
        EXPECT_EQ(flows.window.tiles().size(), c.tiles) << c.told;
        EXPECT_EQ(flows.view.sources.mode, c.mode) << c.told;
        EXPECT_EQ(flows.asker.told.size(), c.told.empty() ? 0u : 1u) << c.told;
        if (!c.told.empty() && !flows.asker.told.empty()) {
            EXPECT_NE(flows.asker.told[0].find(c.told), std::string::npos) << flows.asker.told[0];
        }
    }
}

#ifndef _WIN32
// A shortcut picked or dropped gives the one icon it shows, the status line
// saying where it came from; Windows paths in it are found on the Windows
// drive the shortcut lies on (in a Windows program, on the system itself).
// Another source puts the idle prompt back.
TEST(OpenPaths, aShortcutGivesTheIconItShows) {
    struct Case {
        const char* path; // in the folder of test::writeReferenceTree
        bool picked;      // or dropped
        std::uint32_t colour;
        std::string status; // the status line, "@" standing for the folder; or
        std::string told;   // part of the one message
    };
    const Case cases[] = {
        {"links/App.lnk", true, 0x640080, "图标1，来自“@/drive_c/Program Files/App/App.exe”", ""},
        {"drive_c/Users/Public/Music/desktop.ini", false, 0x030080,
         "图标2，来自“@/drive_c/Windows/SystemResources/imageres.dll.mun”", ""},
        {"drive_c/Users/Public/Desktop/Shell.lnk", false, 0x100080,
         "图标3，来自“@/drive_c/Windows/System32/shell32.dll”", ""},
        {"drive_c/Users/Public/Desktop/Site.url", true, 0x040080,
         "图标2，来自“@/drive_c/Windows/System32/shell32.dll”", ""},
        // No Windows drive above it to find %SystemRoot% on.
        {"links/Shell.lnk", false, 0, "点击“开始”提取图标", "无法找到快捷方式或图标引用所指的文件"},
    };
    for (const Case& c : cases) {
        WindowFlows flows;
        const auto tree = test::writeReferenceTree(flows.dir.path());
        fs::create_directories(tree.root / "Users/Public/Desktop");
        for (const char* name : {"Shell.lnk", "Site.url"})
            fs::copy_file(tree.links / name, tree.root / "Users/Public/Desktop" / name);
        if (c.picked) {
            flows.chooseFile(flows.dir / c.path);
            flows.window.start();
        } else {
            flows.window.openPath(flows.dir / c.path);
        }
        EXPECT_EQ(flows.window.tiles().size(), c.told.empty() ? 1u : 0u) << c.path;
        if (!flows.window.tiles().empty()) {
            EXPECT_EQ(flows.captions(), std::vector<std::string>{"图标1"}) << c.path;
            EXPECT_EQ(flows.window.tiles().cell(0).pixel(10, 10), c.colour) << c.path;
        }
        std::string status = c.status;
        if (const auto at = status.find('@'); at != std::string::npos)
            status.replace(at, 1, displayText(flows.dir.path()));
        EXPECT_EQ(flows.status(), status) << c.path;
        ASSERT_EQ(flows.asker.told.size(), c.told.empty() ? 0u : 1u) << c.path;
        if (!c.told.empty()) {
            EXPECT_NE(flows.asker.told[0].find(c.told), std::string::npos) << flows.asker.told[0];
            continue;
        }
        // Start in the other mode, with its box empty, empties the list.
        flows.window.chooseFolderMode();
        flows.window.start();
        EXPECT_EQ(flows.window.tiles().size(), 0u) << c.path;
        EXPECT_EQ(flows.status(), "点击“开始”提取图标") << c.path;
        test::writeExecutable(flows.dir / "a.exe", {0xFF0000});
        flows.window.openPath(flows.dir / "a.exe");
        EXPECT_EQ(flows.status(), "点击“开始”提取图标") << c.path;
    }
}

// A name that is not text ("Open with" on a file named with a byte that is
// not UTF-8) still reaches its file, and Start harvests it again.
TEST(OpenPaths, aPathThatIsNotTextOpensAndHarvests) {
    WindowFlows flows;
    for (const char* name : {"\xff.exe", "dir \xfe/one.exe"}) {
        const fs::path file = flows.dir / name;
        test::writeExecutable(file, {0xFF0000, 0x00FF00});
        for (const fs::path& path : {file, file.parent_path()}) {
            flows.window.openPath(path);
            EXPECT_EQ(flows.window.tiles().size(), 2u) << path;
            EXPECT_TRUE(flows.asker.told.empty()) << flows.asker.told.front();
            flows.window.start();
            EXPECT_EQ(flows.window.tiles().size(), 2u) << path;
        }
        fs::remove_all(flows.dir / fs::path(name).begin()->string());
    }
}
#endif

} // namespace
} // namespace orvu
