// The reader against the Windows API's own answers for real files: the
// icon count of every file, every icon's large image drawn on white, and the
// icons as they are saved.

#include "icons/icon_drawing.h"
#include "icons/icon_file_writer.h"
#include "icons/icon_image.h"
#include "icons/icon_library.h"
#include "icons/image_choice.h"
#include "png/png_encoder.h"
#include "qt/qt_png_decoder.h"
#include "support/sha256.h"
#include "support/test_files.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace orvu {
namespace {

struct ReferenceRow {
    std::string name; // wine/NAME or nsis/PATH
    std::string sha256;
    std::uint32_t count = 0;
    std::vector<std::string> cells; // hex RGB or "null"
    std::string scaled;             // 's' or '.' per icon
};

std::vector<ReferenceRow> readReference(const std::filesystem::path& tsv) {
    std::ifstream in(tsv);
    std::vector<ReferenceRow> rows;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        ReferenceRow row;
        std::string count;
        std::string cells;
        std::getline(fields, row.name, '\t');
        std::getline(fields, row.sha256, '\t');
        std::getline(fields, count, '\t');
        std::getline(fields, cells, '\t');
        std::getline(fields, row.scaled, '\t');
        row.count = static_cast<std::uint32_t>(std::stoul(count));
        std::istringstream cellStream(cells);
        for (std::string cell; std::getline(cellStream, cell, '|');)
            row.cells.push_back(cell);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::filesystem::path corpusPath(const std::string& name) {
    const std::filesystem::path corpus = test::corpusDir();
    if (name.rfind("wine/", 0) == 0)
        return corpus / "usr/lib/x86_64-linux-gnu/wine/x86_64-windows" / name.substr(5);
    return corpus / "usr/share/nsis" / name.substr(5);
}

std::string hexOf(const Surface& cell) {
    static constexpr char Hex[] = "0123456789abcdef";
    std::string text;
    for (std::uint32_t pixel : cell.pixels) {
        for (int shift = 20; shift >= 0; shift -= 4)
            text += Hex[(pixel >> shift) & 0xF];
    }
    return text;
}

std::string renderCell(IconLibrary& library, std::uint32_t k) {
    const auto icon = library.largeIcon(k);
    if (!icon)
        return "null";
    Surface cell = Surface::filled(LargeIconSize, LargeIconSize, 0xFFFFFF);
    drawIcon(cell, *icon);
    return hexOf(cell);
}

// Whether a pixel under the mask has a colour that inverts the background.
bool invertsBackground(const IconBitmap& image) {
    for (std::size_t i = 0; i < image.pixels.size() && !image.hasAlpha; ++i) {
        if (!image.mask.empty() && image.mask[i] && (image.pixels[i] & 0xFFFFFF) != 0)
            return true;
    }
    return false;
}

int largestChannelGap(const std::string& a, const std::string& b) {
    int gap = 0;
    for (std::size_t i = 0; i + 1 < a.size() && i + 1 < b.size(); i += 2) {
        const int x = std::stoi(a.substr(i, 2), nullptr, 16);
        const int y = std::stoi(b.substr(i, 2), nullptr, 16);
        gap = std::max(gap, std::abs(x - y));
    }
    return gap;
}

class ReferenceTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ReferenceTest, countsAndUnscaledCellsMatchWindows) {
    if (test::corpusDir().empty())
        GTEST_SKIP() << "no corpus: run scripts/fetch-corpus.sh";
    const QtPngDecoder png;
    int files = 0;
    int differentVersion = 0;
    int cells = 0;
    int scaledCells = 0;
    int scaledAgreeing = 0;
    for (const ReferenceRow& row : readReference(test::dataDir() / "reference" / GetParam())) {
        const std::filesystem::path path = corpusPath(row.name);
        ASSERT_TRUE(std::filesystem::exists(path)) << "missing from the corpus: " << row.name;
        std::vector<std::uint8_t> bytes = test::readFile(path);
        if (test::sha256Hex(bytes) != row.sha256) {
            ++differentVersion;
            continue;
        }
        ++files;
        IconLibrary library = IconLibrary::fromBytes(std::move(bytes), &png);
        ASSERT_EQ(library.count(), row.count) << row.name;
        ASSERT_EQ(row.cells.size(), row.count) << row.name;
        for (std::uint32_t k = 0; k < row.count; ++k) {
            ++cells;
            const std::string ours = renderCell(library, k);
            const std::string& theirs = row.cells[k];
            const bool scaled = row.scaled.size() > k && row.scaled[k] == 's';
            if (ours == "null" || theirs == "null") {
                EXPECT_EQ(ours, theirs) << row.name << " icon " << k;
                continue;
            }
            const int gap = largestChannelGap(ours, theirs);
            if (scaled) {
                ++scaledCells;
                scaledAgreeing += gap <= 2 ? 1 : 0;
                continue;
            }
            EXPECT_LE(gap, 2) << row.name << " icon " << k;
        }
    }
    EXPECT_GT(files, 0);
    std::printf("%s: %d files (%d of another version skipped), %d cells; %d needed scaling, "
                "%d of those within 2 per channel\n",
                GetParam(), files, differentVersion, cells, scaledCells, scaledAgreeing);
    RecordProperty("scaledCells", scaledCells);
}

// Every icon of the real files written as an .ico holds its group's images
// byte for byte and draws the same cell; the PNG of the image a tile shows,
// put on white, is that cell wherever it needed no scaling and inverts no
// pixel of the background.
TEST_P(ReferenceTest, exportedIconsAreLosslessAndTheirPngsLookLikeTheCells) {
    if (test::corpusDir().empty())
        GTEST_SKIP() << "no corpus: run scripts/fetch-corpus.sh";
    const QtPngDecoder png;
    int icons = 0;
    int pngsCompared = 0;
    for (const ReferenceRow& row : readReference(test::dataDir() / "reference" / GetParam())) {
        std::vector<std::uint8_t> bytes = test::readFile(corpusPath(row.name));
        if (test::sha256Hex(bytes) != row.sha256)
            continue;
        IconLibrary library = IconLibrary::fromBytes(std::move(bytes), &png);
        for (std::uint32_t k = 0; k < library.count(); ++k) {
            const auto icon = library.images({GroupKind::Icon, k});
            if (!icon || icon->images.empty() || row.cells[k] == "null")
                continue;
            const std::vector<IconImage>* images = &icon->images;
            ++icons;
            const auto file = writeIconFile(*images);
            ASSERT_TRUE(file) << row.name << " icon " << k;
            IconLibrary reread = IconLibrary::fromBytes(*file, &png);
            ASSERT_EQ(reread.count(), 1u);
            const auto again = reread.images({GroupKind::Icon, 0});
            ASSERT_TRUE(again) << row.name << " icon " << k;
            ASSERT_EQ(again->images.size(), images->size());
            for (std::size_t i = 0; i < images->size(); ++i)
                EXPECT_EQ(again->images[i].bytes, (*images)[i].bytes) << row.name << " icon " << k;
            EXPECT_EQ(renderCell(reread, 0), renderCell(library, k)) << row.name << " icon " << k;

            const bool scaled = row.scaled.size() > k && row.scaled[k] == 's';
            const auto large = library.imageAt({GroupKind::Icon, k}, LargeIconSize);
            const auto stored = large ? decodeIconImage(ByteView(large->bytes), &png)
                                      : Result<IconBitmap>(large.failure());
            if (scaled || !stored || invertsBackground(*stored))
                continue;
            const auto encoded = encodePng(withAlphaChannel(*stored));
            ASSERT_TRUE(encoded);
            auto decoded = decodeIconImage(ByteView(*encoded), &png);
            ASSERT_TRUE(decoded);
            decoded->hasAlpha = true; // put on white by its alpha, even where all of it is 0
            Surface cell = Surface::filled(LargeIconSize, LargeIconSize, 0xFFFFFF);
            drawIcon(cell, *decoded);
            EXPECT_LE(largestChannelGap(hexOf(cell), row.cells[k]), 2) << row.name << " icon " << k;
            ++pngsCompared;
        }
    }
    EXPECT_GT(icons, 0);
    std::printf("%s: %d icons written and read back, %d PNGs compared with their cells\n",
                GetParam(), icons, pngsCompared);
}

INSTANTIATE_TEST_SUITE_P(RealFiles, ReferenceTest,
                         ::testing::Values("wine-x86_64-windows.tsv", "nsis.tsv"),
                         [](const auto& param) {
                             return std::string(param.param).find("wine") == 0 ? "wine" : "nsis";
                         });

} // namespace
} // namespace orvu
