// The reader against the Windows API's own answers for real files: the
// icon count of every file, and every icon's large image drawn on white.

#include "icons/icon_choice.h"
#include "icons/icon_drawing.h"
#include "icons/icon_library.h"
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

std::string renderCell(IconLibrary& library, std::uint32_t k) {
    const auto icon = library.largeIcon(k);
    if (!icon)
        return "null";
    Surface cell = Surface::filled(LargeIconSize, LargeIconSize, 0xFFFFFF);
    drawIcon(cell, *icon);
    static constexpr char Hex[] = "0123456789abcdef";
    std::string text;
    for (std::uint32_t pixel : cell.pixels) {
        for (int shift = 20; shift >= 0; shift -= 4)
            text += Hex[(pixel >> shift) & 0xF];
    }
    return text;
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

INSTANTIATE_TEST_SUITE_P(RealFiles, ReferenceTest,
                         ::testing::Values("wine-x86_64-windows.tsv", "nsis.tsv"),
                         [](const auto& param) {
                             return std::string(param.param).find("wine") == 0 ? "wine" : "nsis";
                         });

} // namespace
} // namespace orvu
