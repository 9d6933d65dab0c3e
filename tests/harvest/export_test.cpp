// Saving a tile from the icon it shows, one or many at a time, and the
// icon's details.

#include "harvest/batch_export.h"
#include "harvest/icon_details.h"
#include "harvest/icon_save.h"
#include "harvest/messages.h"
#include "harvest/start_command.h"
#include "harvest/tile_actions.h"
#include "png/default_decoder.h"
#include "support/headless_window.h"
#include "support/icon_builders.h"
#include "support/png_writer.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

// An executable of one icon of three images, the largest a 256 x 256 PNG.
std::filesystem::path mixedExecutable(const std::filesystem::path& folder) {
    test::GroupResource group;
    group.name = std::uint16_t{101};
    group.images = {{test::groupEntry(16, 16, 4, 0), test::solidDib(16, 4, 0xFF0000)},
                    {test::groupEntry(32, 32, 32, 0), test::solidDib(32, 32, 0x00FF00)},
                    {test::groupEntry(256, 256, 32, 0),
                     test::encodePng(256, 256, std::vector<std::uint32_t>(256 * 256, 0xFF0000FF))}};
    const auto path = folder / "app.exe";
    test::writeFile(path, test::buildPe({group}));
    return path;
}

IconOrigin originOf(const std::filesystem::path& file, std::uint32_t index = 0) {
    return {std::make_shared<const std::filesystem::path>(file), index};
}

TEST(IconDetails, showsEveryImageAndSavesItOrTheWholeIcon) {
    test::TempDir dir;
    const auto file = mixedExecutable(dir.path());
    auto details = IconDetails::open(originOf(file), defaultPngDecoder());
    ASSERT_TRUE(details);
    EXPECT_EQ(details->heading(), "app.exe · 图标 1 · ID 101");
    ASSERT_EQ(details->imageCount(), 3u);
    const std::vector<std::string> labels = {"16 × 16 · 4 位 · BMP", "32 × 32 · 32 位 · BMP",
                                             "256 × 256 · 32 位 · PNG"};
    for (std::size_t i = 0; i < labels.size(); ++i)
        EXPECT_EQ(details->imageLabel(i), labels[i]);
    const auto large = details->decode(2);
    ASSERT_TRUE(large);
    EXPECT_EQ(large->width, 256);

    const SaveSubject small = details->imageSubject(0);
    EXPECT_EQ(small.suggestedStem, "app_1-16");
    ASSERT_TRUE(save(small, {dir / "small.png", SaveFormat::Png}).saved);
    const auto png = defaultPngDecoder()->decode(ByteView(test::readFile(dir / "small.png")));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 16);
    EXPECT_EQ(png->pixel(8, 8), 0xFFFF0000u);
    EXPECT_EQ(details->iconSubject().suggestedStem, "app_1");
    ASSERT_TRUE(save(details->iconSubject(), {dir / "whole.ico", SaveFormat::Ico}).saved);
    IconLibrary saved = IconLibrary::fromBytes(test::readFile(dir / "whole.ico"), nullptr);
    ASSERT_EQ(saved.count(), 1u);
    EXPECT_EQ(saved.images({GroupKind::Icon, 0})->images.size(), 3u);
}

// A 256 x 256 PNG that the directory lists as 13 x 0 (as Delphi's and Inno
// Setup's resource compilers write it) is labelled, named and told by its own
// size; the window keeps the file open and draws it however often it is asked.
TEST(IconDetails, anImageListedOtherwiseIsShownAsItIsAsOftenAsAsked) {
    test::TempDir dir;
    const auto file = dir / "setup.exe";
    test::writeFile(file, test::buildPe({test::iconListingPngByItsHeader()}));
    auto details = IconDetails::open(originOf(file), defaultPngDecoder());
    ASSERT_TRUE(details);
    ASSERT_EQ(details->imageCount(), 4u);
    EXPECT_EQ(details->imageLabel(3), "256 × 256 · 32 位 · PNG · 目录记作 13 × 0");
    EXPECT_EQ(details->imageSubject(3).suggestedStem, "setup_1-256");
    EXPECT_EQ(tileToolTip(originOf(file), defaultPngDecoder()),
              "setup.exe\n图标 1 · 名称 MAINICON\n尺寸：16, 32, 48, 256");
    // More draws of the largest image than one request may decode.
    for (int i = 0; i < 520; ++i)
        ASSERT_TRUE(details->decode(3)) << "draw " << i + 1;
}

TEST(IconDetails, aFileThatChangedOrVanishedIsSaid) {
    test::TempDir dir;
    const auto file = mixedExecutable(dir.path());
    const auto past = IconDetails::open(originOf(file, 1), nullptr);
    ASSERT_FALSE(past);
    EXPECT_EQ(past.failure().kind, Failure::Kind::Changed);
    std::filesystem::remove(file);
    const auto gone = IconDetails::open(originOf(file), nullptr);
    ASSERT_FALSE(gone);
    EXPECT_EQ(gone.failure().kind, Failure::Kind::System);
}

// A tile's icon is read again for .ico and .png; a file that no longer holds
// what the tile shows is refused, while the bitmap is the cell itself.
TEST(TileExport, writesTheIconTheTileShowsOrSaysTheFileChanged) {
    test::TempDir dir;
    const auto file = mixedExecutable(dir.path());
    HeadlessWindow window;
    FolderKeys keys;
    StartCommand(window, keys, defaultPngDecoder()).run(file, {});
    ASSERT_EQ(window.tiles().size(), 1u);
    const Tile tile = window.tiles().at(0);
    const auto ico = tileFileBytes(tile, SaveFormat::Ico, defaultPngDecoder());
    ASSERT_TRUE(ico);
    EXPECT_EQ(
        IconLibrary::fromBytes(ico->bytes, nullptr).images({GroupKind::Icon, 0})->images.size(),
        3u);
    const auto png = tileFileBytes(tile, SaveFormat::Png, defaultPngDecoder());
    ASSERT_TRUE(png);
    EXPECT_EQ(defaultPngDecoder()->decode(ByteView(png->bytes))->width, 256); // the largest

    IconCell otherCell = *tile.cell;
    otherCell.pixels[0] ^= 0x010101; // not the icon the file holds now
    Tile other = tile;
    other.cell = std::make_shared<const IconCell>(otherCell);
    const auto changed = tileFileBytes(other, SaveFormat::Ico, defaultPngDecoder());
    ASSERT_FALSE(changed);
    EXPECT_EQ(changed.failure().kind, Failure::Kind::Changed);
    EXPECT_TRUE(tileFileBytes(other, SaveFormat::Bmp, defaultPngDecoder()));
}

// Saving one thing: the dialog's answer names the file and its format; a
// name without one of the offered extensions gets the chosen type's.
TEST(SaveRoutine, theAnswerNamesTheFileAndItsFormat) {
    using F = SaveFormat;
    const std::vector<F> tile{F::Ico, F::Png, F::Bmp};
    const std::vector<F> image{F::Png};
    struct Case {
        std::vector<F> offered;
        std::string typed;
        int type;
        std::string path;
        F format;
    };
    const Case cases[] = {
        {tile, "a.ico", 2, "a.ico", F::Ico},      {tile, "b", 1, "b.png", F::Png},
        {tile, "c", 7, "c.bmp", F::Bmp},          {tile, "d", -1, "d.ico", F::Ico},
        {tile, "E.BMP", 0, "E.BMP", F::Bmp},      {tile, "f.txt", 1, "f.txt.png", F::Png},
        {image, "x.bmp", 0, "x.bmp.png", F::Png}, {image, "y.PNG", 0, "y.PNG", F::Png},
    };
    for (const Case& c : cases) {
        const SaveTarget target = saveTargetOf(SaveSubject{c.offered, {}, {}, {}}, c.typed, c.type);
        EXPECT_EQ(target.path, c.path) << c.typed;
        EXPECT_EQ(target.format, c.format) << c.typed;
    }
}

// The dialog asked before replacing the name it returned; a file the name
// comes to with its extension added is asked about here.
TEST(SaveRoutine, asksOnlyAboutAnExistingFileTheDialogDidNotName) {
    test::TempDir dir;
    test::writeFile(dir / "old.png", {'o', 'l', 'd'});
    struct Case {
        std::string chosen;
        std::string target;
        bool asks;
    };
    const Case cases[] = {
        {"old", "old.png", true}, {"old.png", "old.png", false}, {"new", "new.png", false}};
    for (const Case& c : cases)
        EXPECT_EQ(asksBeforeReplacing({dir / c.target, SaveFormat::Png}, dir / c.chosen), c.asks)
            << c.chosen;
}

// The bytes are written in place of what was there, or nothing is written
// and the user is told why; an icon lacking images is saved and said so.
TEST(SaveRoutine, writesWhatTheSubjectMakesOrSaysWhyNot) {
    test::TempDir dir;
    const IconOrigin origin = originOf(dir / "app.exe", 1);
    const test::ByteVector bytes{'n', 'e', 'w'};
    const ExportedIcon whole{bytes, {}};
    const ExportedIcon lacking{bytes, {MissingImage{}}};
    const Failure unreadable{Failure::Kind::Changed, {}};
    struct Case {
        const char* name;
        Result<ExportedIcon> made;
        std::filesystem::path target;
        bool saved;
        std::string told; // part of the message; empty: nothing told
    };
    const Case cases[] = {
        {"whole", whole, dir / "old.ico", true, ""},
        {"lacking", lacking, dir / "b.ico", true, "中的图标 2 缺少 1 个图像"},
        {"unreadable", unreadable, dir / "old.ico", false, "无法读取文件"},
        {"no folder", whole, dir / "no/such.ico", false, "无法保存文件"},
    };
    for (const Case& c : cases) {
        test::writeFile(dir / "old.ico", {'o', 'l', 'd'});
        const SaveSubject subject{
            {SaveFormat::Ico}, {}, origin, [&](SaveFormat) { return c.made; }};
        const SaveOutcome outcome = save(subject, {c.target, SaveFormat::Ico});
        EXPECT_EQ(outcome.saved, c.saved) << c.name;
        EXPECT_EQ(outcome.message.empty(), c.told.empty()) << c.name << ": " << outcome.message;
        EXPECT_NE(outcome.message.find(c.told), std::string::npos) << c.name;
        const test::ByteVector expected = c.saved ? bytes : test::ByteVector{'o', 'l', 'd'};
        if (c.target == dir / "old.ico" || c.saved) {
            EXPECT_EQ(test::readFile(c.target), expected) << c.name;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "no"));
}

TEST(TileToolTip, namesTheFileTheIconAndItsSizes) {
    std::vector<ImageDescription> images;
    for (const auto& [width, height] :
         {std::pair{48, 48}, {16, 16}, {32, 32}, {256, 256}, {16, 16}, {16, 24}}) {
        images.emplace_back();
        images.back().width = width;
        images.back().height = height;
    }
    EXPECT_EQ(messages::tileToolTip("/x/notepad.exe", 0, {2, "", 1033}, images),
              "notepad.exe\n图标 1 · ID 2 · 语言 1033\n尺寸：16, 16×24, 32, 48, 256");
    // A named icon in the neutral language.
    EXPECT_EQ(messages::tileToolTip("a.dll", 4, {std::nullopt, "MAINICON", 0}, images),
              "a.dll\n图标 5 · 名称 MAINICON\n尺寸：16, 16×24, 32, 48, 256");
}

} // namespace
} // namespace orvu

namespace orvu {
namespace {

// Tiles harvested from app.exe (two icons) in two folders, "one" and "two":
// the same name twice, as a folder harvest often finds.
class BatchExport : public ::testing::Test {
protected:
    BatchExport() {
        for (const char* folder : {"one", "two"}) {
            std::vector<test::GroupResource> groups(2);
            for (std::uint16_t i = 0; i < 2; ++i) {
                groups[i].name = static_cast<std::uint16_t>(i + 1);
                groups[i].images = {
                    {test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, 0x1000u * (i + 1))}};
            }
            std::filesystem::create_directories(dir / folder);
            test::writeFile(dir / folder / "app.exe", test::buildPe(groups));
        }
        std::filesystem::create_directory(dir / "out");
        FolderKeys keys;
        StartCommand(window, keys, nullptr).run({}, dir.path());
        for (std::size_t i = 0; i < window.tiles().size(); ++i)
            tiles.push_back(window.tiles().at(i));
    }

    std::vector<std::string> written() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir / "out"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempDir dir;
    HeadlessWindow window;
    std::vector<Tile> tiles;
};

TEST_F(BatchExport, namesAreFileAndPositionWithACounterWhereTheyCollide) {
    ASSERT_EQ(tiles.size(), 4u);
    const BatchOutcome outcome = exportTiles(window, tiles, dir / "out", SaveFormat::Ico,
                                             ExistingFiles::KeepWithCounter, nullptr);
    EXPECT_EQ(outcome.saved, 4u);
    EXPECT_TRUE(outcome.failed.empty());
    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(written(),
              (std::vector<std::string>{"app_1-2.ico", "app_1.ico", "app_2-2.ico", "app_2.ico"}));
    EXPECT_EQ(window.statusHistory().back(), "正在保存 4/4 …");
}

TEST_F(BatchExport, existingFilesAreKeptOrReplacedAsTheUserSaid) {
    ASSERT_EQ(tiles.size(), 4u);
    test::writeFile(dir / "out/app_1.png", {'o', 'l', 'd'});
    EXPECT_EQ(existingNames(tiles, dir / "out", SaveFormat::Png), 1u);
    EXPECT_EQ(existingNames(tiles, dir / "out", SaveFormat::Ico), 0u);

    const std::vector<Tile> first{tiles[0]};
    ASSERT_EQ(exportTiles(window, first, dir / "out", SaveFormat::Png,
                          ExistingFiles::KeepWithCounter, nullptr)
                  .saved,
              1u);
    EXPECT_EQ(test::readFile(dir / "out/app_1.png"), (test::ByteVector{'o', 'l', 'd'}));
    EXPECT_TRUE(std::filesystem::exists(dir / "out/app_1-2.png"));

    ASSERT_EQ(
        exportTiles(window, first, dir / "out", SaveFormat::Png, ExistingFiles::Replace, nullptr)
            .saved,
        1u);
    EXPECT_NE(test::readFile(dir / "out/app_1.png"), (test::ByteVector{'o', 'l', 'd'}));
}

#ifndef _WIN32
// A link planted under a name the batch makes up is replaced, never written
// through: the file it points at stays as it was.
TEST_F(BatchExport, replacingNeverWritesThroughALinkInTheFolder) {
    ASSERT_EQ(tiles.size(), 4u);
    test::writeFile(dir / "victim", {'k', 'e', 'e', 'p'});
    std::filesystem::create_symlink(dir / "victim", dir / "out/app_1.ico");
    const std::vector<Tile> first{tiles[0]};
    ASSERT_EQ(
        exportTiles(window, first, dir / "out", SaveFormat::Ico, ExistingFiles::Replace, nullptr)
            .saved,
        1u);
    EXPECT_EQ(test::readFile(dir / "victim"), (test::ByteVector{'k', 'e', 'e', 'p'}));
    EXPECT_FALSE(std::filesystem::is_symlink(dir / "out/app_1.ico"));
    EXPECT_EQ(IconLibrary::fromBytes(test::readFile(dir / "out/app_1.ico"), nullptr).count(), 1u);
}
#endif

// A file gone since the harvest fails its own icons; the rest are saved, and
// the summary says how many of each and names the failures.
TEST_F(BatchExport, aVanishedSourceFailsItsIconsNotTheBatch) {
    std::filesystem::remove(dir / "two/app.exe");
    const BatchOutcome outcome = exportTiles(window, tiles, dir / "out", SaveFormat::Ico,
                                             ExistingFiles::KeepWithCounter, nullptr);
    EXPECT_EQ(outcome.saved, 2u);
    ASSERT_EQ(outcome.failed.size(), 2u);
    EXPECT_EQ(outcome.failed[0].tile, "app.exe 图标 1");
    EXPECT_EQ(outcome.failed[0].failure.kind, Failure::Kind::System);
    const std::string summary = messages::savedSummary(outcome.saved, outcome.failed, false);
    EXPECT_EQ(summary.substr(0, summary.find('\n')), "已保存 2 个图标，2 个未能保存：");
    EXPECT_NE(summary.find("app.exe 图标 2："), std::string::npos) << summary;
}

// A folder gone since it was chosen fails every icon: none counts as saved.
TEST_F(BatchExport, aFolderGoneSinceItWasChosenFailsEveryIcon) {
    const BatchOutcome outcome = exportTiles(window, tiles, dir / "gone", SaveFormat::Ico,
                                             ExistingFiles::KeepWithCounter, nullptr);
    EXPECT_EQ(outcome.saved, 0u);
    EXPECT_EQ(outcome.failed.size(), tiles.size());
}

TEST_F(BatchExport, aStopAtAYieldEndsTheBatchWhereItIs) {
    window.setLongestPause(std::chrono::milliseconds(0));
    int yields = 0;
    window.onYield = [&] { return ++yields < 3; };
    const BatchOutcome outcome = exportTiles(window, tiles, dir / "out", SaveFormat::Ico,
                                             ExistingFiles::KeepWithCounter, nullptr);
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(outcome.saved, 2u);
    EXPECT_EQ(written().size(), 2u);
    EXPECT_EQ(messages::savedSummary(outcome.saved, outcome.failed, true),
              "保存已停止。已保存 2 个图标。");
}

} // namespace
} // namespace orvu
