// Cursors as tiles: harvested after a program's icons when the window asks
// for them, always from a cursor file, numbered apart from the icons, and
// saved in their own formats.

#include "harvest/batch_export.h"
#include "harvest/icon_details.h"
#include "harvest/start_command.h"
#include "harvest/tile_actions.h"
#include "icons/image_choice.h"
#include "platform/icon_files.h"
#include "support/headless_window.h"
#include "support/icon_builders.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

namespace fs = std::filesystem;
using test::ByteVector;
using test::GroupResource;
using test::GroupType;

constexpr std::uint32_t Red = 0xFF0000;
constexpr std::uint32_t Green = 0x00FF00;
constexpr std::uint32_t Blue = 0x0000FF;

ByteVector cursorFile(std::uint32_t rgb, Hotspot hotspot = {}) {
    test::StoredImage image{test::groupEntry(32, 32, 32, 0), test::solidDib(32, 32, rgb)};
    image.entry.hotspot = hotspot;
    return test::buildCursorFile({image});
}

ByteVector animationOf(std::uint32_t rgb) {
    return test::buildAnimation({{cursorFile(rgb), cursorFile(Blue)}, {}, {}});
}

GroupResource group(std::uint16_t id, GroupType type, std::uint32_t rgb) {
    GroupResource made;
    made.name = id;
    made.type = type;
    if (type == GroupType::AnimatedCursor) {
        made.animation = animationOf(rgb);
        return made;
    }
    made.images = {{test::groupEntry(32, 32, 32, 0), test::solidDib(32, 32, rgb)}};
    if (type == GroupType::Cursor)
        made.images[0].entry.hotspot = Hotspot{3, 9};
    return made;
}

// Two icons, a cursor and an animated cursor; one icon.
ByteVector programWithCursors() {
    return test::buildPe({group(1, GroupType::Icon, Red), group(2, GroupType::Icon, Red),
                          group(3, GroupType::Cursor, Green),
                          group(4, GroupType::AnimatedCursor, Green)});
}
ByteVector programWithoutCursors() {
    return test::buildPe({group(1, GroupType::Icon, Red)});
}

fs::path user32() {
    return test::corpusDir() / "usr/lib/x86_64-linux-gnu/wine/x86_64-windows/user32.dll";
}

std::vector<std::string> numbered(const char* word, std::size_t count, std::size_t first = 0) {
    std::vector<std::string> texts;
    for (std::size_t i = 1; i <= count; ++i)
        texts.push_back(word + std::to_string(first + i));
    return texts;
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class CursorTiles : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir / "programs");
        test::writeFile(dir / "programs" / "a.exe", programWithCursors());
        test::writeFile(dir / "programs" / "b.exe", programWithoutCursors());
        test::writeFile(dir / "arrow.cur", cursorFile(Green, {5, 6}));
        test::writeFile(dir / "busy.ani", animationOf(Green));
    }

    test::TempDir dir;
};

TEST_F(CursorTiles, followEachProgramsIconsOnlyWhenAskedForButAlwaysFromACursorFile) {
    struct Row {
        fs::path file;
        fs::path folder;
        bool include;
        std::vector<std::string> keys;
        std::vector<std::string> captions;
        std::vector<std::uint32_t> colours; // of each cell's middle
    };
    const std::vector<Row> rows = {
        {dir / "programs" / "a.exe", {}, false, {"my0", "my1"}, {"图标1", "图标2"}, {Red, Red}},
        {dir / "programs" / "a.exe",
         {},
         true,
         {"my0", "my1", "cursor1", "cursor2"},
         {"图标1", "图标2", "光标1", "光标2"},
         {Red, Red, Green, Green}},
        // Each program's cursors right after its icons; the icons keep
        // their numbers and keys.
        {{},
         dir / "programs",
         true,
         {"my1", "my2", "cursor1", "cursor2", "my3"},
         {"图标1", "图标2", "光标1", "光标2", "图标3"},
         {Red, Red, Green, Green, Red}},
        {{}, dir / "programs", false, {"my1", "my2", "my3"}, {"图标1", "图标2", "图标3"}, {}},
        {dir / "arrow.cur", {}, false, {"cursor1"}, {"光标1"}, {Green}},
        {dir / "busy.ani", {}, false, {"cursor1"}, {"光标1"}, {Green}},
    };
    for (const Row& row : rows) {
        HeadlessWindow window;
        window.setIncludesCursors(row.include);
        FolderKeys keys;
        StartCommand(window, keys, nullptr).run(row.file, row.folder);
        std::vector<std::string> shownKeys, captions;
        for (std::size_t i = 0; i < window.tiles().size(); ++i) {
            shownKeys.push_back(window.tiles().key(i));
            captions.push_back(window.tiles().caption(i));
            if (i < row.colours.size()) {
                EXPECT_EQ(window.tiles().cell(i).pixel(16, 16), row.colours[i]) << i;
            }
        }
        const std::string which = (row.file.empty() ? row.folder : row.file).filename().string() +
                                  (row.include ? " with cursors" : "");
        EXPECT_EQ(shownKeys, row.keys) << which;
        EXPECT_EQ(captions, row.captions) << which;
        EXPECT_TRUE(window.problems().empty()) << which;
    }
}

TEST_F(CursorTiles, user32ShowsItsIconsThenItsTwentyEightCursors) {
    if (test::corpusDir().empty())
        GTEST_SKIP() << "no corpus";
    auto library = openIconLibrary(user32(), nullptr);
    ASSERT_TRUE(library);
    const std::size_t icons = library->count();
    for (const bool include : {false, true}) {
        HeadlessWindow window;
        window.setIncludesCursors(include);
        FolderKeys keys;
        StartCommand(window, keys, nullptr).run(user32(), {});
        std::vector<std::string> captions;
        for (std::size_t i = 0; i < window.tiles().size(); ++i)
            captions.push_back(window.tiles().caption(i));
        EXPECT_EQ(captions, numbered("图标", icons) + numbered("光标", include ? 28 : 0));
        if (include) {
            EXPECT_EQ(window.tiles().key(icons - 1), "my" + std::to_string(icons - 1));
        }
    }
}

TEST_F(CursorTiles, areSavedInTheirOwnFormatAloneAndMany) {
    HeadlessWindow window;
    window.setIncludesCursors(true);
    FolderKeys keys;
    StartCommand(window, keys, nullptr).run(dir / "programs" / "a.exe", {});
    ASSERT_EQ(window.tiles().size(), 4u);
    std::vector<Tile> tiles;
    for (std::size_t i = 1; i < 4; ++i) // an icon, the cursor, the animated one
        tiles.push_back(window.tiles().at(i));

    struct Row {
        SaveFormat format;
        std::vector<std::string> names;
    };
    const Row rows[] = {
        {SaveFormat::Ico, {"a_2.ico", "a_1.cur", "a_1.ani"}},
        {SaveFormat::Png, {"a_2.png", "a_1.png", "a_1-2.png"}},
    };
    for (const Row& row : rows) {
        const test::TempDir out;
        const BatchOutcome outcome = exportTiles(window, tiles, out.path(), row.format,
                                                 ExistingFiles::KeepWithCounter, nullptr);
        EXPECT_EQ(outcome.saved, 3u);
        for (const std::string& name : row.names)
            EXPECT_TRUE(fs::exists(out.path() / name)) << name;
    }

    // Alone, each offers its own kind's format first, and that is its file.
    const SaveFormat first[] = {SaveFormat::Ico, SaveFormat::Cur, SaveFormat::Ani};
    auto library = openIconLibrary(dir / "programs" / "a.exe", nullptr);
    ASSERT_TRUE(library);
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const SaveSubject subject = tileSubject(tiles[i], nullptr);
        EXPECT_EQ(subject.formats,
                  (std::vector<SaveFormat>{first[i], SaveFormat::Png, SaveFormat::Bmp}));
        const auto bytes = subject.bytes(subject.formats.front());
        const auto whole = groupFileOf(*library, tiles[i].origin.group());
        ASSERT_TRUE(bytes && whole) << i;
        EXPECT_EQ(bytes->bytes, whole->bytes) << i;
    }
}

TEST_F(CursorTiles, detailsSayTheHotspotAndPlayTheSteps) {
    struct Row {
        const char* file;
        GroupKind kind;
        std::string label;
        std::vector<std::uint32_t> steps; // colour of each step
    };
    const Row rows[] = {
        {"arrow.cur", GroupKind::Cursor, "32 × 32 · 32 位 · BMP · 热点 (5, 6)", {}},
        {"busy.ani", GroupKind::Animated, "32 × 32 · 32 位 · BMP · 热点 (0, 0)", {Green, Blue}},
    };
    for (const Row& row : rows) {
        const IconOrigin origin{std::make_shared<const fs::path>(dir / row.file), 0, row.kind};
        auto details = IconDetails::open(origin, nullptr);
        ASSERT_TRUE(details) << row.file;
        ASSERT_EQ(details->imageCount(), 1u);
        EXPECT_EQ(details->imageLabel(0), row.label);
        ASSERT_EQ(details->stepCount(), row.steps.size());
        for (std::size_t s = 0; s < row.steps.size(); ++s) {
            const auto picture = details->stepPicture(s);
            ASSERT_TRUE(picture);
            EXPECT_EQ(picture->bitmap.pixel(16, 16) & 0xFFFFFF, row.steps[s]) << s;
            EXPECT_EQ(details->stepDuration(s), std::chrono::milliseconds(10 * 1000 / 60));
        }
    }
}

// The details window keeps its file open: its animation plays on however
// often it is drawn afresh, here at each size it is shown at, three frames
// of 256 x 256 at 256 sizes being more than one request may decode.
TEST_F(CursorTiles, detailsPlayAtEverySize) {
    const ByteVector frame = test::buildCursorFile(
        {{test::groupEntry(256, 256, 32, 0), test::solidDib(256, 32, Green)}});
    test::writeFile(dir / "large.ani", test::buildAnimation({{frame, frame, frame}, {}, {}}));
    const IconOrigin origin{std::make_shared<const fs::path>(dir / "large.ani"), 0,
                            GroupKind::Animated};
    auto details = IconDetails::open(origin, nullptr);
    ASSERT_TRUE(details);
    ASSERT_EQ(details->stepCount(), 3u);
    for (int size = 1; size <= MaxShownSize; ++size)
        for (std::size_t s = 0; s < 3; ++s)
            ASSERT_TRUE(details->stepPicture(s, size)) << size << ", step " << s;
}

} // namespace
} // namespace orvu
