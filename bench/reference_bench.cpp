// Following icon references and shortcuts, beside opening the same files
// by their paths, in one run.
//
//   orvu-reference-bench [COUNT] [--repeat N]
//       Writes a Windows drive C: in miniature into a temporary folder (100
//       programs under Program Files, each with three icons) and COUNT
//       (default 1000) shortcuts to them, then times, N times each (default
//       5), taken in turn: opening the COUNT files by their paths and reading
//       the named icon's directory; the same icons as COUNT references
//       ("%ProgramFiles%\APP7\APP7.EXE,-2", names in other letter case than
//       on disk) under one Windows root, as the command-line tool follows
//       them; the same with a root made afresh for each, as each call of
//       the library does; and COUNT .lnk shortcuts that name them (half by
//       an icon location, half by their target). Prints the best and median
//       milliseconds of each and their ratio to opening the files.

#include "platform/icon_files.h"
#include "platform/icon_reference.h"
#include "support/shortcut_builders.h"
#include "support/test_files.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int Programs = 100;

struct Work {
    const char* name;
    std::function<bool(std::size_t)> item; // false when the item failed
};

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return text;
}

// Reads the directory of the icon named, as a caller would look at it.
bool named(orvu::Result<orvu::ReferencedIcons> icons) {
    return icons && icons->icon && icons->library.group({orvu::GroupKind::Icon, *icons->icon});
}

} // namespace

int main(int argc, char** argv) {
    std::size_t count = 1000;
    int repeat = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--repeat" && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
        else
            count = static_cast<std::size_t>(std::max(1, std::atoi(argv[i])));
    }

    const orvu::test::TempDir dir;
    const fs::path root = dir / "drive_c";
    std::vector<fs::path> files;
    std::vector<std::string> references;
    std::vector<fs::path> links;
    for (int p = 0; p < Programs; ++p) {
        const std::string name = "App" + std::to_string(p);
        fs::create_directories(root / "Program Files" / name);
        orvu::test::writeFile(root / "Program Files" / name / (name + ".exe"),
                              orvu::test::peWithIconIds({1, 2, 3}));
    }
    fs::create_directories(dir / "links");
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = "App" + std::to_string(i % Programs);
        const std::uint16_t id = static_cast<std::uint16_t>(1 + i % 3);
        files.push_back(root / "Program Files" / name / (name + ".exe"));
        references.push_back(upper("%ProgramFiles%\\" + name + "\\" + name + ".exe") + ",-" +
                             std::to_string(id));
        orvu::test::ShellLinkDescription link;
        if (i % 2 == 0) {
            link.iconLocation = "%ProgramFiles%\\" + name + "\\" + name + ".exe";
            link.iconIndex = -id;
        } else {
            link.localBasePath = "C:\\Program Files\\" + name + "\\" + name + ".exe";
        }
        links.push_back(dir / "links" / ("link" + std::to_string(i) + ".lnk"));
        orvu::test::writeFile(links.back(), orvu::test::buildShellLink(link).bytes);
    }

    const orvu::WindowsPaths shared(root);
    const std::vector<Work> works = {
        {"open the files",
         [&](std::size_t i) {
             auto library = orvu::openIconLibrary(files[i], nullptr);
             return library &&
                    library->group({orvu::GroupKind::Icon, static_cast<std::uint32_t>(i % 3)});
         }},
        {"references, one root",
         [&](std::size_t i) {
             return named(orvu::openIconReference(references[i], shared, nullptr));
         }},
        {"references, a root each",
         [&](std::size_t i) {
             return named(
                 orvu::openIconReference(references[i], orvu::WindowsPaths(root), nullptr));
         }},
        {".lnk shortcuts",
         [&](std::size_t i) {
             return named(orvu::openIconReference(orvu::textOfPath(links[i]), shared, nullptr));
         }},
    };
    std::vector<std::vector<double>> seconds(works.size());
    for (int r = 0; r < repeat; ++r) {
        for (std::size_t w = 0; w < works.size(); ++w) {
            const auto start = Clock::now();
            for (std::size_t i = 0; i < count; ++i) {
                if (!works[w].item(i)) {
                    std::fprintf(stderr, "%s: item %zu failed\n", works[w].name, i);
                    return 1;
                }
            }
            seconds[w].push_back(std::chrono::duration<double>(Clock::now() - start).count());
        }
    }
    std::printf("%zu items, %d runs each, taken in turn\n", count, repeat);
    std::printf("%-26s %10s %10s %8s\n", "", "best ms", "median ms", "ratio");
    double base = 0;
    for (std::size_t w = 0; w < works.size(); ++w) {
        std::sort(seconds[w].begin(), seconds[w].end());
        const double median = seconds[w][seconds[w].size() / 2];
        if (w == 0)
            base = median;
        std::printf("%-26s %10.1f %10.1f %7.2fx\n", works[w].name, seconds[w].front() * 1000,
                    median * 1000, median / base);
    }
    return 0;
}
