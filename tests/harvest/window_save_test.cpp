// What the main window's tiles offer, as a person uses it: saving one tile
// through the save dialog, saving many into a folder, the details and a copy.

#include "harvest/messages.h"
#include "icons/icon_library.h"
#include "window_script.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace orvu {
namespace {

namespace fs = std::filesystem;

// The file's format, by its first bytes.
std::string formatOf(const fs::path& path) {
    const test::ByteVector bytes = test::readFile(path);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return "bmp";
    if (bytes.size() >= 4 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G')
        return "png";
    if (bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 1 && bytes[3] == 0)
        return "ico";
    return "?";
}

// two.exe harvested: two icons, the second a solid 0xCC0000.
class SaveOne : public ::testing::Test, protected test::WindowFlows {
protected:
    SaveOne() {
        source = dir / "two.exe";
        test::writeExecutable(source, {0x336699, 0xCC0000});
        chooseFile(source);
        window.start();
    }
    // Saves tile `row` under `name` with the dialog's type `type`.
    void save(const fs::path& name, std::size_t type, std::size_t row = 1) {
        asker.answer(name);
        asker.choices.push_back(type);
        window.saveTile(row);
    }

    fs::path source;
};

TEST_F(SaveOne, theDialogOffersIconPngAndBitmapInThatOrder) {
    asker.cancelNext();
    window.saveTile(1);
    ASSERT_EQ(asker.dialogs.size(), 2u);
    const FileQuestion& asked = asker.dialogs.back().file;
    EXPECT_EQ(asked.title, "保存文件为:...");
    EXPECT_EQ(asked.types, (std::vector<FileType>{
                               {"图标文件", "*.ico"}, {"PNG 图像", "*.png"}, {"位图", "*.bmp"}}));
    EXPECT_EQ(asked.chosenType, 0u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// The file is written in the format its extension names, or else its type's.
TEST_F(SaveOne, eachFormatIsWrittenAsItsNameOrTypeSays) {
    struct Case {
        std::string typed;
        std::size_t type;
        std::string written;
        std::string format;
    };
    const Case cases[] = {
        {"a.ico", 0, "a.ico", "ico"}, {"b.png", 0, "b.png", "png"}, {"c", 1, "c.png", "png"},
        {"d", 2, "d.bmp", "bmp"},     {"E.BMP", 0, "E.BMP", "bmp"}, {"f", 0, "f.ico", "ico"},
    };
    for (const Case& c : cases) {
        save(dir / c.typed, c.type);
        ASSERT_TRUE(fs::exists(dir / c.written)) << c.typed;
        EXPECT_EQ(formatOf(dir / c.written), c.format) << c.typed;
    }
    EXPECT_TRUE(asker.told.empty()) << asker.told.front();
    // The .ico holds the icon's own image, byte for byte.
    IconLibrary saved = IconLibrary::fromBytes(test::readFile(dir / "a.ico"), nullptr);
    IconLibrary original = IconLibrary::fromBytes(test::readFile(source), nullptr);
    ASSERT_EQ(saved.count(), 1u);
    EXPECT_EQ(saved.images({GroupKind::Icon, 0})->images.at(0).bytes,
              original.images({GroupKind::Icon, 1})->images.at(0).bytes);
    // The bitmap is the tile's cell, 24 bits a pixel.
    EXPECT_EQ(test::readFile(dir / "d.bmp")[28], 24);
}

// Only a name that got its extension here is asked about; "no", or closing
// the question, keeps the file.
TEST_F(SaveOne, anExistingFileIsReplacedOnlyWhenThePersonAgrees) {
    struct Case {
        std::optional<Reply> reply; // nullopt: the question is closed
        bool replaced;
    };
    const Case cases[] = {{Reply::No, false}, {std::nullopt, false}, {Reply::Yes, true}};
    for (const Case& c : cases) {
        test::writeFile(dir / "old.png", {'o', 'l', 'd'});
        asker.questions.clear();
        if (c.reply)
            asker.replies.push_back(*c.reply);
        save(dir / "old", 1); // becomes old.png, which the dialog never asked about
        ASSERT_EQ(asker.questions.size(), 1u);
        EXPECT_NE(asker.questions[0].find("old.png"), std::string::npos);
        EXPECT_EQ(formatOf(dir / "old.png"), c.replaced ? "png" : "?");
    }
    asker.questions.clear();
    save(dir / "old.png", 1); // the dialog asked about this one itself
    EXPECT_TRUE(asker.questions.empty());
}

TEST_F(SaveOne, aSourceThatChangedOrVanishedIsSaidAndNothingIsWritten) {
    test::writeFile(source, test::buildPe({})); // no icons any more
    save(dir / "changed.ico", 0);
    ASSERT_EQ(asker.told.size(), 1u);
    EXPECT_NE(asker.told[0].find("已经改变"), std::string::npos) << asker.told[0];
    fs::remove(source);
    save(dir / "gone.png", 1);
    ASSERT_EQ(asker.told.size(), 2u);
    EXPECT_NE(asker.told[1].find("two.exe"), std::string::npos) << asker.told[1];
    EXPECT_FALSE(fs::exists(dir / "changed.ico"));
    EXPECT_FALSE(fs::exists(dir / "gone.png"));
    // The cell needs no source file.
    save(dir / "kept.bmp", 2);
    EXPECT_EQ(formatOf(dir / "kept.bmp"), "bmp");
}

TEST_F(SaveOne, withoutASelectedTileNoDialogOpens) {
    const std::size_t asked = asker.dialogs.size();
    for (const std::optional<std::size_t> row : {std::optional<std::size_t>(), {7}})
        window.saveTile(row);
    EXPECT_EQ(asker.dialogs.size(), asked);
    EXPECT_EQ(asker.told, (std::vector<std::string>(2, "请先选择一个图标")));
}

TEST_F(SaveOne, failedSavesKeepTheEarlierFileAndSaySo) {
    save(dir / "no/such/x.bmp", 2);
    ASSERT_EQ(asker.told.size(), 1u);
    EXPECT_NE(asker.told[0].find("x.bmp"), std::string::npos);
#ifndef _WIN32
    // A device, through a link with a bitmap's name: never replaced, never written.
    struct stat before {};
    ASSERT_EQ(::stat("/dev/full", &before), 0);
    fs::create_symlink("/dev/full", dir / "device.bmp");
    save(dir / "device.bmp", 2);
    ASSERT_EQ(asker.told.size(), 2u);
    EXPECT_NE(asker.told[1].find("不是普通文件"), std::string::npos) << asker.told[1];
    struct stat after {};
    ASSERT_EQ(::stat("/dev/full", &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_rdev, before.st_rdev);
#endif
}

// Saving many: which tiles, into which folder as which format, what the
// person answers about files already there, and what ends on disk and is
// said. three.exe's second PNG is in the folder already.
struct ManyCase {
    const char* name;
    std::vector<std::size_t> rows; // empty: every tile
    std::size_t choice;            // 0: each whole, 1: PNG
    std::optional<Reply> reply;    // to the question; nullopt: closed (Esc)
    std::vector<std::string> written;
    std::string said; // the message at the end; empty: none
    bool asked;
};

class SaveMany : public ::testing::TestWithParam<ManyCase>, protected test::WindowFlows {};

TEST_P(SaveMany, writesOneFileEachAndSaysHowItWent) {
    const ManyCase& c = GetParam();
    test::writeExecutable(dir / "three.exe", {1, 2, 3});
    chooseFile(dir / "three.exe");
    window.start();
    fs::create_directory(dir / "out");
    test::writeFile(dir / "out" / "three_2.png", {'o', 'l', 'd'});
    asker.answer(dir / "out");
    asker.choices.push_back(c.choice);
    if (c.reply)
        asker.replies.push_back(*c.reply);
    if (c.rows.empty())
        window.saveAllTiles();
    else
        window.saveTiles(c.rows);

    ASSERT_EQ(asker.dialogs.back().kind, test::ScriptedAsker::Dialog::Kind::Folder);
    const FolderQuestion& asked = asker.dialogs.back().folder;
    EXPECT_EQ(asked.title, "保存图标到文件夹");
    EXPECT_EQ(asked.choices, (std::vector<std::string>{"图标文件 (*.ico)", "PNG 图像 (*.png)"}));
    EXPECT_EQ(asker.questions.size(), c.asked ? 1u : 0u);
    if (c.asked && !asker.questions.empty()) {
        EXPECT_NE(asker.questions[0].find("1 个同名文件"), std::string::npos);
    }
    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(dir / "out"))
        written.push_back(entry.path().filename().string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, c.written);
    EXPECT_EQ(test::readFile(dir / "out" / "three_2.png") == test::ByteVector({'o', 'l', 'd'}),
              c.reply != Reply::Yes);
    EXPECT_EQ(asker.news,
              c.said.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.said});
    EXPECT_TRUE(asker.told.empty());
    EXPECT_TRUE(window.tileMenu(true).saveSelected); // no long job runs
    // The status line shows again what it showed before.
    EXPECT_EQ(status(), "点击“开始”提取图标");
}

INSTANTIATE_TEST_SUITE_P(
    Window, SaveMany,
    ::testing::Values(ManyCase{"pngKeepingWhatIsThere",
                               {0, 1},
                               1,
                               Reply::No,
                               {"three_1.png", "three_2-2.png", "three_2.png"},
                               "已保存 2 个图标。",
                               true},
                      ManyCase{"pngReplacing",
                               {0, 1},
                               1,
                               Reply::Yes,
                               {"three_1.png", "three_2.png"},
                               "已保存 2 个图标。",
                               true},
                      // Cancel, or Esc, at the question writes nothing at all.
                      ManyCase{"cancelled", {0, 1}, 1, Reply::Cancel, {"three_2.png"}, "", true},
                      ManyCase{"closedWithEsc", {0, 1}, 1, std::nullopt, {"three_2.png"}, "", true},
                      ManyCase{"allWhole",
                               {},
                               0,
                               std::nullopt,
                               {"three_1.ico", "three_2.ico", "three_2.png", "three_3.ico"},
                               "已保存 3 个图标。",
                               false}),
    [](const auto& row) { return std::string(row.param.name); });

// An icon whose file lacks one of its images is saved with the others, and
// the window says so once: after saving it alone, and in the summary of
// saving many.
TEST(SaveLacking, anIconLackingAnImageIsSavedWithTheRestAndSaidOnce) {
    test::WindowFlows flows;
    test::GroupResource whole;
    whole.name = std::uint16_t{1};
    whole.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, 0x336699)}};
    test::GroupResource lacking = whole;
    lacking.name = std::uint16_t{2};
    GroupEntry held = whole.images[0].entry;
    held.bytesInResource = static_cast<std::uint32_t>(whole.images[0].bytes.size());
    held.location = 2;
    lacking.rawGroup = test::groupDirectory({held, test::groupEntry(16, 16, 4, 99, 296)});
    test::writeFile(flows.dir / "app.exe", test::buildPe({whole, lacking}));
    flows.chooseFile(flows.dir / "app.exe");
    flows.window.start();
    ASSERT_EQ(flows.window.tiles().size(), 2u);

    flows.asker.answer(flows.dir / "one.ico");
    flows.window.saveTile(1);
    EXPECT_EQ(IconLibrary::fromBytes(test::readFile(flows.dir / "one.ico"), nullptr)
                  .images({GroupKind::Icon, 0})
                  ->images.size(),
              1u);
    ASSERT_EQ(flows.asker.told.size(), 1u);
    EXPECT_TRUE(flows.asker.told[0].ends_with("中的图标 2 缺少 1 个图像，已保存其余的图像。"))
        << flows.asker.told[0];

    fs::create_directory(flows.dir / "out");
    flows.asker.answer(flows.dir / "out");
    flows.window.saveAllTiles();
    EXPECT_TRUE(fs::exists(flows.dir / "out" / "app_2.ico"));
    ASSERT_EQ(flows.asker.told.size(), 2u);
    EXPECT_EQ(flows.asker.told[1],
              "已保存 2 个图标。\n其中 1 个图标缺少图像，只保存了其余的图像。");
    EXPECT_TRUE(flows.asker.news.empty());
}

// The menu greys what can't be done now; the details, a copy and dragged
// tiles read the icon again.
TEST(TileMenu, offersWhatCanBeDoneNow) {
    test::WindowFlows flows;
    EXPECT_EQ(flows.window.tileMenu(false).saveAll, false);
    test::writeExecutable(flows.dir / "a.exe", {0x336699});
    flows.chooseFile(flows.dir / "a.exe");
    flows.window.start();
    struct Case {
        bool selection;
        bool saveSelected;
        bool saveAll;
        bool copy;
    };
    for (const Case& c : {Case{false, false, true, false}, Case{true, true, true, true}}) {
        const auto menu = flows.window.tileMenu(c.selection);
        EXPECT_EQ(menu.saveSelected, c.saveSelected);
        EXPECT_EQ(menu.saveAll, c.saveAll);
        EXPECT_EQ(menu.copy, c.copy);
    }
    const auto png = flows.window.copyPng(0);
    ASSERT_TRUE(png);
    EXPECT_EQ(defaultPngDecoder()->decode(ByteView(*png))->pixel(5, 5), 0xFF336699u);
    EXPECT_FALSE(flows.window.copyPng(std::nullopt));
    const auto details = flows.window.details(0);
    ASSERT_TRUE(details);
    EXPECT_EQ(details->heading(), "a.exe · 图标 1 · ID 1");
    EXPECT_EQ(flows.window.toolTip(0), "a.exe\n图标 1 · ID 1\n尺寸：32");
    fs::create_directory(flows.dir / "drag");
    EXPECT_EQ(flows.window.writeDragged({0}, flows.dir / "drag"),
              (std::vector<fs::path>{flows.dir / "drag" / "a_1.ico"}));
    EXPECT_TRUE(flows.asker.told.empty());
    EXPECT_FALSE(flows.window.details(std::nullopt));
    EXPECT_EQ(flows.asker.told, (std::vector<std::string>{"请先选择一个图标"}));
}

} // namespace
} // namespace orvu
