// Compares what two programs print for `cells`: the Windows API (through
// icon_oracle) against our reader, or two builds of our reader.
//
//   orvu_compare_cells windows --windows CELLS --sizes SIZES --ours CELLS
//                              --known TSV --root DIR=NAME... [--size N]
//                              [--kind cursor|animated]
//       Counts must agree on every file. A cell whose image needs no
//       scaling, or is enlarged (which repeats pixels as Windows does), must
//       agree within 2 per channel, unless the known-differences table lists
//       it with its reason; a listed cell that agrees fails too, so the table
//       stays true. Shrunk cells are only summarised. The cells are N x N
//       (32 without --size).
//       With --kind cursor|animated the cells are cursors, each followed by
//       '@' and its hotspot (icon_oracle cells --kind): the hotspots must
//       be equal, the scaled cursors' too.
//   orvu_compare_cells builds --first CELLS --second CELLS --root DIR=NAME...
//                             [--first-lacks-png] [--size N] [--kind KIND]
//       Two builds must print the same count and the same cells for every
//       file. With --first-lacks-png, cells whose image is a PNG and that the
//       first build left null are not compared.
//   orvu_compare_cells reference --windows CELLS --reference TSV --root DIR=NAME...
//       The Windows answers must reproduce every row of a stored reference
//       (tests/data/reference/*.tsv) whose file is the same version: a
//       check that this Wine answers as the one that made the reference.
//
// Paths are shown relative to the --root that holds them, as NAME/relative.

#include "icons/dib_decoder.h"
#include "icons/group_kind.h"
#include "icons/icon_library.h"
#include "icons/png_decoder.h"
#include "support/sha256.h"
#include "support/test_files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Row {
    std::string path;
    std::string name;
    std::string count;
    std::vector<std::string> cells;
};

struct Root {
    std::string folder;
    std::string name;
};

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

std::string nameOf(const std::string& path, const std::vector<Root>& roots) {
    for (const Root& root : roots) {
        if (path.size() > root.folder.size() &&
            path.compare(0, root.folder.size(), root.folder) == 0 &&
            path[root.folder.size()] == '/')
            return root.name + path.substr(root.folder.size());
    }
    return path;
}

std::optional<std::vector<Row>> readCells(const std::string& file, const std::vector<Root>& roots) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::printf("FAIL cannot read %s\n", file.c_str());
        return std::nullopt;
    }
    std::vector<Row> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        const std::size_t first = line.find('\t');
        const std::size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
        if (second == std::string::npos) {
            std::printf("FAIL malformed line in %s: %.80s\n", file.c_str(), line.c_str());
            return std::nullopt;
        }
        Row row;
        row.path = line.substr(0, first);
        row.name = nameOf(row.path, roots);
        row.count = line.substr(first + 1, second - first - 1);
        const std::string cells = line.substr(second + 1);
        if (!cells.empty())
            row.cells = split(cells, '|');
        rows.push_back(std::move(row));
    }
    return rows;
}

std::map<std::string, const Row*> byPath(const std::vector<Row>& rows) {
    std::map<std::string, const Row*> index;
    for (const Row& row : rows)
        index[row.path] = &row;
    return index;
}

struct Gap {
    int largest = 0;
    int pixels = 0; // pixels with a channel more than 2 apart
};

// A cursor's cell split from its hotspot ("<hex>@x,y"); an icon's cell has none.
struct Cell {
    std::string pixels;
    std::string hotspot;
};

Cell splitCell(const std::string& cell) {
    const std::size_t at = cell.find('@');
    if (at == std::string::npos)
        return {cell, {}};
    return {cell.substr(0, at), cell.substr(at + 1)};
}

int hexValue(char c) {
    return c <= '9' ? c - '0' : c - 'a' + 10;
}

Gap gapBetween(const std::string& a, const std::string& b) {
    Gap gap;
    if (a.size() != b.size())
        return {255, static_cast<int>(std::max(a.size(), b.size()) / 6)};
    for (std::size_t pixel = 0; pixel + 6 <= a.size(); pixel += 6) {
        int worst = 0;
        for (std::size_t c = pixel; c < pixel + 6; c += 2) {
            const int x = hexValue(a[c]) * 16 + hexValue(a[c + 1]);
            const int y = hexValue(b[c]) * 16 + hexValue(b[c + 1]);
            worst = std::max(worst, std::abs(x - y));
        }
        gap.largest = std::max(gap.largest, worst);
        gap.pixels += worst > 2 ? 1 : 0;
    }
    return gap;
}

// The size of the image our reader shows as icon k, and whether it is a PNG.
struct OurImage {
    std::string size = "?";
    bool png = false;
    // An animated cursor's frame loaded at its header's size, another than
    // its image's: scaled on loading, whatever the cell's size.
    bool resized = false;
};

class OurImages {
public:
    explicit OurImages(int cellSize, orvu::GroupKind kind = orvu::GroupKind::Icon)
        : m_cellSize(cellSize), m_kind(kind) {}
    OurImage of(const std::string& path, std::uint32_t k) {
        auto& library = m_open[path];
        if (!library)
            library = std::make_unique<orvu::IconLibrary>(
                orvu::IconLibrary::fromBytes(orvu::test::readFile(path), nullptr));
        OurImage result;
        const auto image = library->imageAt(orvu::GroupRef{m_kind, k}, m_cellSize);
        if (!image)
            return result;
        const orvu::ByteView bytes(image->bytes);
        if (orvu::isPng(bytes)) {
            result.png = true;
            if (const auto header = orvu::readPngHeader(bytes))
                result.size = std::to_string(header->width) + "x" + std::to_string(header->height);
        } else if (const auto dib = orvu::decodeDib(bytes)) {
            result.size = std::to_string(dib->width) + "x" + std::to_string(dib->height);
        }
        if (m_kind == orvu::GroupKind::Animated) {
            const auto animation = library->animation(k);
            result.resized =
                animation && animation->width != 0 && animation->height != 0 &&
                std::to_string(animation->width) + "x" + std::to_string(animation->height) !=
                    result.size;
        }
        return result;
    }
    void forget(const std::string& path) { m_open.erase(path); }

private:
    int m_cellSize;
    orvu::GroupKind m_kind;
    std::map<std::string, std::unique_ptr<orvu::IconLibrary>> m_open;
};

struct Known {
    std::string name;
    std::uint32_t icon = 0;
    std::string reason;
    bool seen = false;
};

std::optional<std::vector<Known>> readKnown(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::printf("FAIL cannot read %s\n", file.c_str());
        return std::nullopt;
    }
    std::vector<Known> known;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const auto fields = split(line, '\t');
        if (fields.size() < 3 || fields[1].empty() ||
            fields[1].find_first_not_of("0123456789") != std::string::npos) {
            std::printf("FAIL malformed line in %s: %s\n", file.c_str(), line.c_str());
            return std::nullopt;
        }
        known.push_back({fields[0], static_cast<std::uint32_t>(std::stoul(fields[1])), fields[2]});
    }
    return known;
}

struct Options {
    std::string mode;
    std::map<std::string, std::string> files;
    std::vector<Root> roots;
    bool firstLacksPng = false;
    int cellSize = 32; // the cells are cellSize x cellSize
    orvu::GroupKind kind = orvu::GroupKind::Icon;
};

std::optional<Options> parse(int argc, char** argv) {
    if (argc < 2)
        return std::nullopt;
    Options options;
    options.mode = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--first-lacks-png") {
            options.firstLacksPng = true;
        } else if (i + 1 < argc && flag == "--size") {
            options.cellSize = std::atoi(argv[++i]);
            if (options.cellSize < 1 || options.cellSize > 256)
                return std::nullopt;
        } else if (i + 1 < argc && flag == "--kind") {
            const std::string kind = argv[++i];
            if (kind != "cursor" && kind != "animated")
                return std::nullopt;
            options.kind = kind == "cursor" ? orvu::GroupKind::Cursor : orvu::GroupKind::Animated;
        } else if (i + 1 < argc && flag == "--root") {
            const std::string value = argv[++i];
            const std::size_t equals = value.rfind('=');
            if (equals == std::string::npos)
                return std::nullopt;
            options.roots.push_back({value.substr(0, equals), value.substr(equals + 1)});
        } else if (i + 1 < argc && flag.rfind("--", 0) == 0) {
            options.files[flag.substr(2)] = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// Whether an image of "WxH" is enlarged, or drawn as it is, to fill size x size.
bool enlarged(const std::string& imageSize, int size) {
    const std::size_t x = imageSize.find('x');
    return x != std::string::npos && std::atoi(imageSize.c_str()) <= size &&
           std::atoi(imageSize.c_str() + x + 1) <= size;
}

bool belongsToRun(const std::string& name, const std::vector<Root>& roots) {
    return std::any_of(roots.begin(), roots.end(),
                       [&](const Root& root) { return name.rfind(root.name + "/", 0) == 0; });
}

int compareWithWindows(const Options& options) {
    const auto windows = readCells(options.files.at("windows"), options.roots);
    const auto ours = readCells(options.files.at("ours"), options.roots);
    auto known = readKnown(options.files.at("known"));
    if (!windows || !ours || !known)
        return 1;
    // The sizes lines have no count column: path TAB sizes.
    std::map<std::string, std::vector<std::string>> sizeOf;
    {
        std::ifstream in(options.files.at("sizes"), std::ios::binary);
        if (!in) {
            std::printf("FAIL cannot read %s\n", options.files.at("sizes").c_str());
            return 1;
        }
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const std::size_t tab = line.find('\t');
            if (tab == std::string::npos)
                continue;
            const std::string list = line.substr(tab + 1);
            sizeOf[line.substr(0, tab)] =
                list.empty() ? std::vector<std::string>{} : split(list, '|');
        }
    }
    const auto ourRows = byPath(*ours);
    const int size = options.cellSize;
    OurImages ourImages(size, options.kind);
    const std::string noun = options.kind == orvu::GroupKind::Icon ? "icon" : "cursor";
    const int cellPixels = size * size;

    int failures = 0;
    int files = 0;
    int countsAgreeing = 0;
    int cells = 0;
    int strictCells = 0;
    int strictAgreeing = 0;
    int strictExact = 0;
    int listed = 0;
    int enlargedCells = 0;
    int shrunk = 0;
    int shrunkClose = 0;
    int shrunkRoughly = 0;
    int shrunkLargest = 0;
    int hotspots = 0;
    int hotspotsEqual = 0;
    const auto fail = [&failures](const std::string& text) {
        ++failures;
        std::printf("FAIL %s\n", text.c_str());
    };
    const auto findKnown = [&](const std::string& name, std::uint32_t k) -> Known* {
        for (Known& entry : *known) {
            if (entry.name == name && entry.icon == k)
                return &entry;
        }
        return nullptr;
    };

    for (const Row& theirs : *windows) {
        ++files;
        const auto found = ourRows.find(theirs.path);
        if (found == ourRows.end()) {
            fail(theirs.name + ": our reader printed no line");
            continue;
        }
        const Row& mine = *found->second;
        if (theirs.count != mine.count) {
            fail(theirs.name + ": Windows counts " + theirs.count + " " + noun + "s, we count " +
                 mine.count);
            continue;
        }
        ++countsAgreeing;
        if (theirs.cells.size() != mine.cells.size()) {
            fail(theirs.name + ": the number of cells doesn't match the count");
            continue;
        }
        const std::vector<std::string>& windowsSizes = sizeOf[theirs.path];
        for (std::uint32_t k = 0; k < theirs.cells.size(); ++k) {
            ++cells;
            const Cell windowsCell = splitCell(theirs.cells[k]);
            const Cell ourCell = splitCell(mine.cells[k]);
            const std::string& w = windowsCell.pixels;
            const std::string& o = ourCell.pixels;
            const std::string windowsSize = k < windowsSizes.size() ? windowsSizes[k] : "?";
            const OurImage ourImage = ourImages.of(theirs.path, k);
            const std::string& ourSize = ourImage.size;
            Known* entry = findKnown(theirs.name, k);
            if (entry)
                entry->seen = true;
            const std::string where = theirs.name + " " + noun + " " + std::to_string(k);

            // A hotspot is reported as Windows reports it, scaled or not.
            std::string hotspotDifference;
            if (w != "null" && o != "null" &&
                (!windowsCell.hotspot.empty() || !ourCell.hotspot.empty())) {
                ++hotspots;
                if (windowsCell.hotspot == ourCell.hotspot)
                    ++hotspotsEqual;
                else
                    hotspotDifference = "Windows reports the hotspot at " + windowsCell.hotspot +
                                        ", we at " + ourCell.hotspot;
            }
            std::string difference;
            if (w == "null" || o == "null") {
                if (w != o)
                    difference = w == "null" ? "Windows has no icon, we draw one"
                                             : "Windows draws an icon, we have none";
            } else if (windowsSize != "?" && ourSize != "?" && windowsSize != ourSize) {
                difference = "Windows shows a " + windowsSize + " image, we show " + ourSize;
            } else {
                const std::string imageSize = windowsSize != "?" ? windowsSize : ourSize;
                const Gap gap = gapBetween(w, o);
                const bool unscaled =
                    imageSize == std::to_string(size) + "x" + std::to_string(size);
                if ((!unscaled && !enlarged(imageSize, size)) || ourImage.resized) {
                    ++shrunk;
                    shrunkClose += gap.largest <= 2 ? 1 : 0;
                    shrunkRoughly += gap.pixels <= cellPixels / 32 ? 1 : 0;
                    shrunkLargest = std::max(shrunkLargest, gap.largest);
                    std::printf("shrunk %s: %s image%s, %d of %d pixels off by more than 2 "
                                "(up to %d)\n",
                                where.c_str(), imageSize.c_str(),
                                ourImage.resized ? ", loaded at the animation's size" : "",
                                gap.pixels, cellPixels, gap.largest);
                    if (!hotspotDifference.empty())
                        fail(where + ": " + hotspotDifference);
                    else if (entry)
                        fail(where + " is listed as a known difference, but its " + imageSize +
                             " image is shrunk and only compared loosely: remove it");
                    continue;
                }
                enlargedCells += unscaled ? 0 : 1;
                if (gap.largest > 2)
                    difference = std::to_string(gap.pixels) + " of " + std::to_string(cellPixels) +
                                 " pixels differ, by up to " + std::to_string(gap.largest);
            }
            if (!hotspotDifference.empty())
                difference += (difference.empty() ? "" : "; ") + hotspotDifference;
            ++strictCells;
            if (difference.empty()) {
                ++strictAgreeing;
                strictExact += w == o ? 1 : 0;
                if (entry)
                    fail(where + " is listed as a known difference but now agrees with Windows: "
                                 "remove it from the table");
                continue;
            }
            if (entry) {
                ++listed;
                std::printf("known  %s: %s (%s)\n", where.c_str(), difference.c_str(),
                            entry->reason.c_str());
            } else {
                fail(where + ": " + difference);
            }
        }
        ourImages.forget(theirs.path);
    }
    for (const Known& entry : *known) {
        if (!entry.seen && belongsToRun(entry.name, options.roots))
            fail(entry.name + " " + noun + " " + std::to_string(entry.icon) +
                 " is listed as a known difference but was not compared: remove it");
    }

    std::printf("files: %d; %s counts agree on %d (%.1f %%)\n", files, noun.c_str(), countsAgreeing,
                files ? 100.0 * countsAgreeing / files : 100.0);
    std::printf("cells at %d x %d: %d; %d need no scaling or are enlarged (%d): %d agree within "
                "2 per channel (%d exactly), %d listed as known differences\n",
                size, size, cells, strictCells, enlargedCells, strictAgreeing, strictExact, listed);
    std::printf("shrunk cells (compared loosely): %d; %d within 2 per channel, %d with at most %d "
                "pixels off; largest channel gap %d\n",
                shrunk, shrunkClose, shrunkRoughly, cellPixels / 32, shrunkLargest);
    if (options.kind != orvu::GroupKind::Icon)
        std::printf("hotspots: %d; %d equal to the ones Windows reports\n", hotspots,
                    hotspotsEqual);
    std::printf("%s\n", failures ? "DIFFERENT FROM WINDOWS" : "AGREES WITH WINDOWS");
    return failures ? 1 : 0;
}

int compareBuilds(const Options& options) {
    const auto first = readCells(options.files.at("first"), options.roots);
    const auto second = readCells(options.files.at("second"), options.roots);
    if (!first || !second)
        return 1;
    const auto secondRows = byPath(*second);
    OurImages ourImages(options.cellSize, options.kind);
    int failures = 0;
    int cells = 0;
    int identical = 0;
    int skipped = 0;
    for (const Row& a : *first) {
        const auto found = secondRows.find(a.path);
        if (found == secondRows.end()) {
            ++failures;
            std::printf("FAIL %s: no line from the second build\n", a.name.c_str());
            continue;
        }
        const Row& b = *found->second;
        if (a.count != b.count || a.cells.size() != b.cells.size()) {
            ++failures;
            std::printf("FAIL %s: %s icons against %s\n", a.name.c_str(), a.count.c_str(),
                        b.count.c_str());
            continue;
        }
        for (std::uint32_t k = 0; k < a.cells.size(); ++k) {
            ++cells;
            if (a.cells[k] == b.cells[k]) {
                ++identical;
                continue;
            }
            if (options.firstLacksPng && a.cells[k] == "null" && ourImages.of(a.path, k).png) {
                ++skipped;
                continue;
            }
            ++failures;
            const Gap gap = gapBetween(a.cells[k], b.cells[k]);
            std::printf("FAIL %s icon %u: the cells differ (%d pixels by more than 2, largest "
                        "channel gap %d)\n",
                        a.name.c_str(), k, gap.pixels, gap.largest);
        }
        ourImages.forget(a.path);
    }
    if (first->size() != second->size()) {
        ++failures;
        std::printf("FAIL %zu lines against %zu\n", first->size(), second->size());
    }
    std::printf("files: %zu; cells: %d, %d identical%s\n", first->size(), cells, identical,
                skipped ? (", " + std::to_string(skipped) + " PNG cells not compared").c_str()
                        : "");
    std::printf("%s\n", failures ? "BUILDS DIFFER" : "BUILDS AGREE");
    return failures ? 1 : 0;
}

int compareWithReference(const Options& options) {
    const auto windows = readCells(options.files.at("windows"), options.roots);
    std::ifstream in(options.files.at("reference"), std::ios::binary);
    if (!windows || !in) {
        std::printf("FAIL cannot read %s\n", options.files.at("reference").c_str());
        return 1;
    }
    std::map<std::string, const Row*> byName;
    for (const Row& row : *windows)
        byName[row.name] = &row;
    int failures = 0;
    int rows = 0;
    int reproduced = 0;
    int otherVersion = 0;
    std::string line;
    while (std::getline(in, line)) {
        const auto fields = split(line, '\t');
        if (fields.size() < 3)
            continue;
        ++rows;
        const auto found = byName.find(fields[0]);
        if (found == byName.end()) {
            ++failures;
            std::printf("FAIL %s: in the reference, not in this run\n", fields[0].c_str());
            continue;
        }
        const Row& row = *found->second;
        if (orvu::test::sha256Hex(orvu::test::readFile(row.path)) != fields[1]) {
            ++otherVersion;
            continue;
        }
        const std::string cells = fields.size() > 3 ? fields[3] : std::string();
        std::string ours;
        for (std::size_t k = 0; k < row.cells.size(); ++k)
            ours += (k ? "|" : "") + row.cells[k];
        if (row.count != fields[2] || ours != cells) {
            ++failures;
            std::printf("FAIL %s: Windows answers differently from the reference\n",
                        fields[0].c_str());
            continue;
        }
        ++reproduced;
    }
    std::printf("reference %s: %d rows, %d reproduced exactly, %d of another file version\n",
                options.files.at("reference").c_str(), rows, reproduced, otherVersion);
    return failures ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    const auto options = parse(argc, argv);
    const auto has = [&](std::initializer_list<const char*> names) {
        return std::all_of(names.begin(), names.end(),
                           [&](const char* name) { return options->files.count(name) != 0; });
    };
    if (options && options->mode == "windows" && has({"windows", "sizes", "ours", "known"}))
        return compareWithWindows(*options);
    if (options && options->mode == "builds" && has({"first", "second"}))
        return compareBuilds(*options);
    if (options && options->mode == "reference" && has({"windows", "reference"}))
        return compareWithReference(*options);
    std::fprintf(stderr, "usage: orvu_compare_cells windows --windows CELLS --sizes SIZES --ours "
                         "CELLS --known TSV --root DIR=NAME... [--size N] [--kind KIND]\n"
                         "       orvu_compare_cells builds --first CELLS --second CELLS "
                         "--root DIR=NAME... [--first-lacks-png] [--size N] [--kind KIND]\n"
                         "       orvu_compare_cells reference --windows CELLS --reference TSV "
                         "--root DIR=NAME...\n");
    return 2;
}
