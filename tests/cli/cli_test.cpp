// orvu-icons-cli as its users call it.

#include "platform/icon_files.h"
#include "png/libpng_decoder.h"
#include "png/png_encoder.h"
#include "support/icon_builders.h"
#include "support/png_writer.h"
#include "support/shortcut_builders.h"
#include "support/test_files.h"
#include "support/unprivileged.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

namespace orvu {
namespace {

struct ToolRun {
    std::string out;
    int status = -1;
};

// Runs the tool with the arguments (already quoted for the shell); stderr
// is appended to the output unless `stderrTo` (a shell redirection) sends it
// elsewhere, and `stdoutTo` may send the standard output elsewhere.
// The tool that run() starts: the build's, or a copy another user can reach.
std::string& toolPath() {
    static std::string path = ORVU_CLI;
    return path;
}

ToolRun run(const std::string& arguments, const std::string& stdoutTo = {},
            const std::string& stderrTo = "2>&1", const std::string& before = {}) {
    const std::string command =
        before + "'" + toolPath() + "' " + arguments + " " + stderrTo + " " + stdoutTo;
    ToolRun result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer{};
    while (const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), pipe))
        result.out.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// The corpus's folder of Windows builds of Wine's programs.
std::filesystem::path wineFolder() {
    return test::corpusDir() / "usr/lib/x86_64-linux-gnu/wine/x86_64-windows";
}

// wrestool's status after extracting the resources of `type` of `file`.
int wrestoolExtract(int type, const std::filesystem::path& file,
                    const std::filesystem::path& folder) {
    return std::system(("wrestool -x -t" + std::to_string(type) + " -o " + quoted(folder) + " " +
                        quoted(file) + " 2>/dev/null")
                           .c_str());
}

// Why a comparison with wrestool over the corpus can't run, if it can't.
std::optional<std::string> lacksCorpusOrWrestool(const std::filesystem::path& sample) {
    if (!std::filesystem::exists(sample))
        return "no corpus (scripts/fetch-corpus.sh)";
    if (std::system("command -v wrestool >/dev/null") != 0)
        return "no wrestool (Debian package icoutils)";
    return std::nullopt;
}

TEST(Cli, cellsPrintsCountAndEveryCellOnOneLine) {
    test::TempDir dir;
    test::GroupResource group;
    group.name = std::uint16_t{1};
    group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, 0x123456)}};
    test::GroupResource broken = group;
    broken.name = std::uint16_t{2};
    broken.rawGroup = test::ByteVector{0, 0, 1, 0, 0, 0};
    test::writeFile(dir / "two.exe", test::buildPe({group, broken}));
    test::writeFile(dir / "none.txt", {'h', 'i'});
    const ToolRun result = run("cells " + quoted(dir / "two.exe") + " " + quoted(dir / "none.txt"));
    EXPECT_EQ(result.status, 0);
    std::string cell;
    for (int i = 0; i < 1024; ++i)
        cell += "123456";
    EXPECT_EQ(result.out, (dir / "two.exe").string() + "\t2\t" + cell + "|null\n" +
                              (dir / "none.txt").string() + "\t0\t\n");
}

TEST(Cli, cellsAtASizeDrawTheImageWindowsShowsAtThatSize) {
    test::TempDir dir;
    test::writeFile(
        dir / "two.ico",
        test::buildIconFile({{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, 0x111111)},
                             {test::groupEntry(48, 48, 24, 0), test::solidDib(48, 24, 0x222222)}}));
    const auto cell = [&](int size, const std::string& rgb) {
        std::string hex;
        for (int i = 0; i < size * size; ++i)
            hex += rgb;
        return (dir / "two.ico").string() + "\t1\t" + hex + "\n";
    };
    const std::string file = quoted(dir / "two.ico");
    for (const auto& [arguments, expected] : std::vector<std::pair<std::string, std::string>>{
             {"cells " + file, cell(32, "111111")},
             {"cells --size 32 " + file, cell(32, "111111")},
             {"cells --size 48 " + file, cell(48, "222222")},
             {"cells --size=64 " + file, cell(64, "222222")},
             {"cells --size 16 " + file, cell(16, "111111")}}) {
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.status, 0) << arguments;
        EXPECT_EQ(result.out, expected) << arguments;
    }
}

TEST(Cli, pngIconsAreDecoded) {
    test::TempDir dir;
    std::vector<std::uint32_t> pixels(32 * 32, 0xFF336699);
    test::writeFile(dir / "png.ico", test::buildIconFile({{test::groupEntry(32, 32, 32, 0),
                                                           test::encodePng(32, 32, pixels)}}));
    const ToolRun result = run("cells " + quoted(dir / "png.ico"));
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("\t1\t336699336699"), std::string::npos) << result.out.substr(0, 200);
}

TEST(Cli, badArgumentsAndUnreadablePathsFailWithOneLine) {
    const ToolRun none = run("");
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(std::count(none.out.begin(), none.out.end(), '\n'), 1);
    const ToolRun noSuchFile = run("extract x");
    EXPECT_EQ(noSuchFile.status, 1);
    EXPECT_EQ(noSuchFile.out, "orvu-icons-cli: x: No such file or directory\n");

    const ToolRun missing = run("cells /nonexistent/app.exe");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("/nonexistent/app.exe"), std::string::npos);
    EXPECT_EQ(std::count(missing.out.begin(), missing.out.end(), '\n'), 1);
}

// Output that can't be written is a failure, never a success.
TEST(Cli, aFullDiskFailsWithOneLine) {
    test::TempDir dir;
    test::GroupResource group;
    group.name = std::uint16_t{1};
    group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, 0x123456)}};
    test::writeFile(dir / "a.exe", test::buildPe({group}));
    for (const std::string& arguments :
         {"cells " + quoted(dir / "a.exe"), "list " + quoted(dir.path()),
          "list --json " + quoted(dir.path()),
          "extract -o " + quoted(dir.path()) + " " + quoted(dir / "a.exe"),
          std::string("--help")}) {
        const ToolRun full = run(arguments, ">/dev/full");
        EXPECT_EQ(full.status, 1) << arguments;
        EXPECT_EQ(std::count(full.out.begin(), full.out.end(), '\n'), 1) << full.out;
        EXPECT_NE(full.out.find("No space left on device"), std::string::npos) << full.out;
        EXPECT_EQ(run(arguments, ">/dev/null").status, 0) << arguments;
    }
}

// --- Shared by the tests of list, extract and thumbnail ---------------------

// A TAB, a quote, a backslash, another control character and a byte that is
// not UTF-8: a name that JSON must escape and can't hold as it is.
constexpr const char* OddName = "we\"ird\\\t\x01\xff.exe";

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// Runs the tool with standard output and standard error apart, after the
// shell commands `before` (which end in "&&").
ToolRun runApart(const std::string& arguments, std::string* err, const std::string& before = {}) {
    const std::filesystem::path errFile = std::filesystem::temp_directory_path() /
                                          ("orvu-cli-test-" + std::to_string(::getpid()) + ".err");
    ToolRun result = run(arguments, {}, "2>" + quoted(errFile), before);
    const auto bytes = test::readFile(errFile);
    std::filesystem::remove(errFile);
    *err = std::string(bytes.begin(), bytes.end());
    return result;
}

test::StoredImage solidImage(int size, int bits, std::uint32_t rgb) {
    return {test::groupEntry(size, size, bits, 0), test::solidDib(size, bits, rgb)};
}

test::GroupResource groupOf(test::ResourceName name, std::vector<test::StoredImage> images,
                            std::uint16_t language = 1033) {
    test::GroupResource group;
    group.name = std::move(name);
    group.images = std::move(images);
    group.languages = {language};
    return group;
}

// Three icons, in the order a PE file keeps them: named ones first.
const std::vector<test::GroupResource>& sampleGroups() {
    static const std::vector<test::GroupResource> groups = {
        groupOf(std::u16string(u"MAINICON"),
                {solidImage(16, 4, 0x0000FF), solidImage(32, 32, 0x00FF00),
                 solidImage(48, 8, 0xFF0000)}),
        groupOf(std::uint16_t{7}, {solidImage(32, 24, 0x123456)}),
        groupOf(std::uint16_t{9}, {solidImage(16, 32, 0x654321)}, 2052),
    };
    return groups;
}

std::string sizeOf(const test::StoredImage& image) {
    return std::to_string(image.bytes.size());
}

// A PE file whose resource directory claims more entries than it holds.
std::vector<std::uint8_t> damagedPe() {
    auto bytes = test::buildPe(sampleGroups());
    const test::PeLayout layout = test::peLayout(sampleGroups());
    test::putU16(bytes, layout.resourceRoot + 14, 0xFFFF); // id entries of the root
    return bytes;
}

// A summary of JSON Lines as Python's own reader reads them, one line per
// object: the file's name (JSON-quoted), ok or its error, and each icon.
// python3 comes with the tests' dependencies (scripts/install-deps.sh).
std::string readJsonLines(const std::string& jsonLines) {
    static const test::TempDir scratch;
    test::writeFile(scratch / "lines.json", {jsonLines.begin(), jsonLines.end()});
    const std::string script = R"(
import json, os, sys
for line in open(sys.argv[1], encoding='utf-8'):
    d = json.loads(line)
    assert sorted(d) == ['error', 'icons', 'path', 'source'], d
    assert d['source'] == d['path'], d
    icons = []
    for i in d['icons']:
        assert sorted(i) == ['error', 'id', 'images', 'kind', 'language', 'large', 'name',
                             'position'], i
        assert i['kind'] == 'icon', i
        images = ','.join('%dx%d/%d/%d/%s/%d' % (m['width'], m['height'], m['bits'],
                          m['colours'], m['format'], m['bytes']) for m in i['images'])
        icons.append('%d %s %s %s %s [%s]%s' % (i['position'], i['id'], i['name'], i['language'],
                     i['large'], images, '' if i['error'] is None else ' error'))
    print(json.dumps(os.path.basename(d['path'])), 'ok' if d['error'] is None else 'error',
          '; '.join(icons))
)";
    test::writeFile(scratch / "read.py", {script.begin(), script.end()});
    std::string summary;
    FILE* pipe = ::popen(
        ("python3 " + quoted(scratch / "read.py") + " " + quoted(scratch / "lines.json") + " 2>&1")
            .c_str(),
        "r");
    std::array<char, 4096> buffer{};
    while (const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), pipe))
        summary.append(buffer.data(), got);
    ::pclose(pipe);
    return summary;
}

// Every name is printed by one rule, on standard output and standard error:
// a control character shows as '?', so that a name can neither command the
// terminal (an escape sequence that retitles it) nor split the output of one
// path a line.
TEST(Cli, controlCharactersInNamesNeverReachTheTerminal) {
    // Escape ] 0 ; title BEL (retitles xterm), a newline, a TAB, DEL and CSI (U+009B).
    const std::string name = "a\x1b]0;owned\x07\nb\t\x7f\xc2\x9b"
                             "c";
    const std::string shown = "a?]0;owned??b???c";
    test::TempDir dir;
    std::filesystem::create_directory(dir / "out");
    test::writeFile(dir / (name + ".exe"), test::buildPe({sampleGroups()[1]}));
    test::writeFile(dir / (name + ".ico"), {'h', 'i'});
    const std::string program = quoted(dir / (name + ".exe"));
    const std::string text = quoted(dir / (name + ".ico"));
    const std::string folder = dir.path().string() + "/";
    const struct {
        std::string arguments;
        std::string out; // the start of standard output
        std::string err;
        std::size_t lines; // on both
    } cases[] = {
        {"extract -o " + quoted(dir / "out") + " " + program, folder + "out/" + shown + "_1.ico\n",
         "", 1},
        {"extract " + text, "", "orvu-icons-cli: " + folder + shown + ".ico: not an executable", 1},
        {"list " + program, folder + shown + ".exe: 1 icon\n", "", 2},
        {"cells " + program, folder + shown + ".exe\t1\t", "", 1},
        {"thumbnail " + text + " " + quoted(dir / "t.png"), "",
         "orvu-icons-cli: " + folder + shown + ".ico: no thumbnail: not an executable", 1},
    };
    for (const auto& c : cases) {
        std::string err;
        const ToolRun result = runApart(c.arguments, &err);
        EXPECT_EQ(result.out.substr(0, c.out.size()), c.out) << c.arguments;
        EXPECT_EQ(err.substr(0, c.err.size()), c.err) << c.arguments;
        EXPECT_EQ(lineCount(result.out) + lineCount(err), c.lines) << c.arguments;
        for (const char* raw : {"\x1b", "\x07", "\x7f", "\xc2\x9b"}) {
            EXPECT_EQ(result.out.find(raw), std::string::npos) << c.arguments;
            EXPECT_EQ(err.find(raw), std::string::npos) << c.arguments;
        }
    }
}

// --- Usage, help and version -------------------------------------------------

TEST(Cli, wrongCommandLinesExitWith2AndOneLine) {
    for (const std::string arguments : {"",
                                        "bogus",
                                        "list",
                                        "list --bogus x",
                                        "list --pattern",
                                        "list --json=yes x",
                                        "extract",
                                        "extract --icon 0 x",
                                        "extract --icon two x",
                                        "extract --icon 1 --id 2 x",
                                        "extract --id '' x",
                                        "extract --id 70000 x",
                                        "extract --format gif x",
                                        "extract --size 48 x",
                                        "extract --format png --size 0 x",
                                        "extract -o",
                                        "thumbnail",
                                        "thumbnail a",
                                        "thumbnail a b c",
                                        "thumbnail -s 0 a b",
                                        "thumbnail -s x a b",
                                        "cells",
                                        "cells --size 0 x",
                                        "cells --size 257 x",
                                        "cells --size 48",
                                        "help bogus"}) {
        std::string err;
        const ToolRun result = runApart(arguments, &err);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_EQ(result.out, "") << arguments;
        EXPECT_EQ(lineCount(err), 1u) << arguments << ": " << err;
        EXPECT_NE(err.find("try 'orvu-icons-cli"), std::string::npos) << arguments << ": " << err;
    }
}

TEST(Cli, helpAndVersion) {
    const ToolRun help = run("--help");
    EXPECT_EQ(help.status, 0);
    for (const std::string command : {"list", "extract", "thumbnail", "cells"}) {
        EXPECT_NE(help.out.find("\n  " + command + " "), std::string::npos) << command;
        for (const std::string& arguments : {command + " --help", "help " + command}) {
            const ToolRun result = run(arguments);
            EXPECT_EQ(result.status, 0) << arguments;
            EXPECT_EQ(result.out.rfind("usage: orvu-icons-cli " + command + " ", 0), 0u)
                << arguments << ": " << result.out;
        }
    }
    // extract's help names each format it takes once, with what it writes.
    const std::string extract = run("extract --help").out;
    EXPECT_NE(extract.find("[--format ico|png]"), std::string::npos) << extract;
    for (const char* format : {" ico (the default): the whole icon", " png: one image"}) {
        const std::size_t at = extract.find(format);
        EXPECT_NE(at, std::string::npos) << format;
        EXPECT_EQ(extract.find(format, at + 1), std::string::npos) << format << " twice";
    }
    const ToolRun version = run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "orvu-icons-cli " ORVU_VERSION "\n");
}

// --- list --------------------------------------------------------------------

TEST(Cli, listShowsEachIconWithItsImagesAndMarksTheOneShownAt32) {
    test::TempDir dir;
    test::writeFile(dir / "app.exe", test::buildPe(sampleGroups()));
    std::string err;
    const ToolRun result = runApart("list " + quoted(dir / "app.exe"), &err);
    EXPECT_EQ(result.status, 0) << err;
    const auto& g = sampleGroups();
    EXPECT_EQ(result.out,
              (dir / "app.exe").string() + ": 3 icons\n" +
                  "  #1  MAINICON  lang 1033   16×16 4-bit DIB " + sizeOf(g[0].images[0]) +
                  " B, 32×32 32-bit DIB " + sizeOf(g[0].images[1]) + " B*, 48×48 8-bit DIB " +
                  sizeOf(g[0].images[2]) + " B\n" +
                  "  #2  id 7      lang 1033   32×32 24-bit DIB " + sizeOf(g[1].images[0]) +
                  " B*\n" + "  #3  id 9      lang 2052   16×16 32-bit DIB " +
                  sizeOf(g[2].images[0]) + " B*\n");
}

// JSON Lines read back by a JSON reader: a folder walked with its files
// first, damaged files failing the command, other files only reported.
TEST(Cli, listAsJsonReadsBackWithEveryFileAndIcon) {
    test::TempDir dir;
    const auto& g = sampleGroups();
    test::writeFile(dir / "app.exe", test::buildPe(g));
    test::writeFile(dir / "Damaged.exe", damagedPe());
    test::writeFile(dir / "readme.exe", {'h', 'i'});
    test::writeFile(dir / "skipped.dll", test::buildPe(g));
    std::filesystem::create_directory(dir / "sub");
    test::writeFile(dir / "sub" / OddName, test::buildPe({g[1]}));
    test::writeFile(dir / "sub/one.ico", test::buildIconFile({solidImage(16, 32, 0x112233)}));

    std::string err;
    const ToolRun listed =
        runApart("list --json " + quoted(dir.path()) + " " + quoted(dir / "sub/one.ico"), &err);
    EXPECT_EQ(listed.status, 1);
    ASSERT_EQ(lineCount(err), 1u) << err;
    EXPECT_NE(err.find("Damaged.exe: damaged"), std::string::npos) << err;
    const std::string summary = readJsonLines(listed.out);
    const std::string icon7 = "[32x32/24/0/dib/" + sizeOf(g[1].images[0]) + "]";
    EXPECT_EQ(summary, "\"app.exe\" ok 1 None MAINICON 1033 1 [16x16/4/0/dib/" +
                           sizeOf(g[0].images[0]) + ",32x32/32/0/dib/" + sizeOf(g[0].images[1]) +
                           ",48x48/8/0/dib/" + sizeOf(g[0].images[2]) + "]; 2 7 None 1033 0 " +
                           icon7 + "; 3 9 None 2052 0 [16x16/32/0/dib/" + sizeOf(g[2].images[0]) +
                           "]\n" + "\"Damaged.exe\" error \n" + "\"readme.exe\" error \n" +
                           "\"we\\\"ird\\\\\\t\\u0001\\ufffd.exe\" ok 1 7 None 1033 0 " + icon7 +
                           "\n" + "\"one.ico\" ok 1 None None None 0 [16x16/32/0/dib/" +
                           std::to_string(test::solidDib(16, 32, 0).size()) + "]\n");

    // Named directly, a file that is no executable fails; --pattern '*'
    // reads every file of a folder.
    const ToolRun named = runApart("list --json " + quoted(dir / "readme.exe"), &err);
    EXPECT_EQ(named.status, 1);
    EXPECT_EQ(lineCount(err), 1u) << err;
    const ToolRun everything = runApart("list --json --pattern '*' " + quoted(dir / "sub"), &err);
    EXPECT_EQ(everything.status, 0) << err;
    EXPECT_EQ(lineCount(everything.out), 2u);
}

// As an ordinary user, a folder and a file that can't be read fail the
// command, each named once, and the rest is still listed.
TEST(Cli, listGoesOnPastUnreadableEntries) {
    test::TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
    std::filesystem::create_directory(dir / "locked");
    test::writeFile(dir / "locked/inside.exe", test::buildPe(sampleGroups()));
    test::writeFile(dir / "unreadable.exe", test::buildPe(sampleGroups()));
    test::writeFile(dir / "z-good.exe", test::buildPe(sampleGroups()));
    std::filesystem::permissions(dir / "locked", std::filesystem::perms::none);
    std::filesystem::permissions(dir / "unreadable.exe", std::filesystem::perms::none);
    // The ordinary user must reach the tool: the build folder may be private.
    std::filesystem::create_directory(dir / "tool");
    std::filesystem::permissions(dir / "tool", std::filesystem::perms::all);
    std::filesystem::copy_file(ORVU_CLI, dir / "tool/orvu-icons-cli");
    std::filesystem::permissions(dir / "tool/orvu-icons-cli", std::filesystem::perms::all);
    const bool asExpected = test::runWithoutPrivileges([&] {
        toolPath() = (dir / "tool/orvu-icons-cli").string();
        std::string err;
        const ToolRun result = runApart("list --json " + quoted(dir.path()), &err);
        const std::vector<std::string> lines = linesOf(result.out);
        const bool ok =
            result.status == 1 && lineCount(err) == 2 &&
            err.find("unreadable.exe: Permission denied") != std::string::npos &&
            err.find("locked: Permission denied") != std::string::npos && lines.size() == 3 &&
            lines[0].find("unreadable.exe\", \"error\": \"Permission denied\"") !=
                std::string::npos &&
            lines[1].find("z-good.exe\", \"error\": null") != std::string::npos &&
            lines[2].find("locked\", \"error\": \"Permission denied\"") != std::string::npos;
        if (!ok)
            std::fprintf(stderr, "status %d\n%s%s", result.status, result.out.c_str(), err.c_str());
        return ok;
    });
    EXPECT_TRUE(asExpected);
}

// In a terminal, where standard output and standard error show as one, each
// error is said once, by the listing; where they go apart, standard error
// says it too. Either way each file's line comes as soon as it is known, so
// one log of both holds the files in their order.
TEST(Cli, listSaysEachErrorOnceInATerminal) {
    if (std::system("command -v script >/dev/null") != 0)
        GTEST_SKIP() << "no script (util-linux)";
    test::TempDir dir;
    test::writeFile(dir / "text.exe", {'h', 'i'});
    test::writeFile(dir / "good.exe", test::buildPe(sampleGroups()));
    const std::string arguments =
        "list " + quoted(dir / "good.exe") + " " + quoted(dir / "text.exe");
    const struct {
        const char* where;
        std::string before; // around the tool's command
        std::string after;
        std::size_t said;
    } cases[] = {
        {"terminal", "script -qec \"", "\" /dev/null", 1},
        {"pipe", "", "", 2},
    };
    for (const auto& c : cases) {
        const ToolRun result = run(arguments, c.after, "2>&1", c.before);
        std::size_t said = 0;
        for (std::size_t at = result.out.find("not an executable"); at != std::string::npos;
             at = result.out.find("not an executable", at + 1))
            ++said;
        EXPECT_EQ(said, c.said) << c.where << ":\n" << result.out;
        EXPECT_EQ(result.status, 1) << c.where;
        EXPECT_LT(result.out.find("good.exe: 3 icons"), result.out.find("not an executable"))
            << c.where << ":\n"
            << result.out;
    }
}

// --- extract -----------------------------------------------------------------

struct Extracted {
    std::string arguments;
    int status;
    std::vector<std::string> files;   // written, in order
    std::string complaint;            // on standard error, if any
    bool nearlyLongestOutput = false; // -o DIR spelt out to nearly the longest path there is
};

TEST(Cli, extractSelectsIconsByPositionOrId) {
    test::TempDir dir;
    test::writeFile(dir / "app.exe", test::buildPe(sampleGroups()));
    std::filesystem::create_directory(dir / "tree");
    test::writeFile(dir / "tree/not-a-program.exe", {'h', 'i'});
    test::writeFile(dir / "tree/app2.exe", test::buildPe({sampleGroups()[1]}));
    // A name that fits, and with "_1.ico" in place of ".exe" is cut to fit, but
    // then makes a path too long to write in an -o DIR of nearly the longest path.
    const std::string longName = std::string(251, 'n') + ".exe";
    test::writeFile(dir / longName, test::buildPe(sampleGroups()));
    const std::string app = " " + quoted(dir / "app.exe");
    const std::vector<Extracted> cases = {
        {app, 0, {"app_1.ico", "app_2.ico", "app_3.ico"}, ""},
        {" --icon 2" + app, 0, {"app_2.ico"}, ""},
        {" --icon 3" + app, 0, {"app_3.ico"}, ""},
        {" --id 9" + app, 0, {"app_3.ico"}, ""},
        {" --id=mainIcon" + app, 0, {"app_1.ico"}, ""},
        {" --icon 4" + app, 1, {}, "app.exe: no icon 4"},
        {" --id 8" + app, 1, {}, "app.exe: no icon with id 8"},
        {" --icon 1 " + quoted(dir / longName), 1, {}, "_1.ico: File name too long", true},
        // Files found in a folder that lack the icon, or are no programs, are passed over.
        {" --id 9 " + quoted(dir / "tree") + app, 0, {"app_3.ico"}, ""},
        {" " + quoted(dir / "tree"), 0, {"app2_1.ico"}, ""},
    };
    for (const Extracted& c : cases) {
        test::TempDir out;
        std::string err;
        std::string output = out.path().string();
        while (c.nearlyLongestOutput && output.size() < 4000) // PATH_MAX is 4096
            output += "/.";
        const ToolRun result =
            runApart("extract -o " + quoted(std::filesystem::path(output)) + c.arguments, &err);
        EXPECT_EQ(result.status, c.status) << c.arguments << ": " << err;
        std::string expected;
        for (const std::string& file : c.files)
            expected += (out / file).string() + "\n";
        EXPECT_EQ(result.out, expected) << c.arguments;
        EXPECT_EQ(lineCount(err), c.complaint.empty() ? 0u : 1u) << c.arguments << ": " << err;
        EXPECT_NE(err.find(c.complaint), std::string::npos) << c.arguments << ": " << err;
        EXPECT_EQ(static_cast<std::size_t>(
                      std::distance(std::filesystem::directory_iterator(out.path()), {})),
                  c.files.size())
            << c.arguments;
    }
    // Every image of the icon, byte for byte.
    test::TempDir out;
    ASSERT_EQ(run("extract --icon 1 -o " + quoted(out.path()) + app).status, 0);
    EXPECT_EQ(test::readFile(out / "app_1.ico"), test::buildIconFile(sampleGroups()[0].images));
}

// Names taken on disk or earlier in the run get a counter; nothing is
// replaced unless --force says so, and then only files of earlier runs.
TEST(Cli, extractNeverOverwritesUnlessForced) {
    test::TempDir dir;
    const auto& g = sampleGroups();
    for (const char* folder : {"a", "b", "out"})
        std::filesystem::create_directory(dir / folder);
    test::writeFile(dir / "a/app.exe", test::buildPe({g[0]}));
    test::writeFile(dir / "b/app.exe", test::buildPe({g[1]}));
    test::writeFile(dir / "out/app_1.ico", {'k', 'e', 'e', 'p'});
    const std::string arguments = " -o " + quoted(dir / "out") + " " + quoted(dir / "a/app.exe") +
                                  " " + quoted(dir / "b/app.exe");
    const ToolRun kept = run("extract" + arguments);
    EXPECT_EQ(kept.status, 0) << kept.out;
    EXPECT_EQ(kept.out, (dir / "out/app_1-2.ico").string() + "\n" +
                            (dir / "out/app_1-3.ico").string() + "\n");
    EXPECT_EQ(test::readFile(dir / "out/app_1.ico"),
              (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(test::readFile(dir / "out/app_1-2.ico"), test::buildIconFile(g[0].images));
    EXPECT_EQ(test::readFile(dir / "out/app_1-3.ico"), test::buildIconFile(g[1].images));

    const ToolRun forced = run("extract --force" + arguments);
    EXPECT_EQ(forced.status, 0) << forced.out;
    EXPECT_EQ(forced.out,
              (dir / "out/app_1.ico").string() + "\n" + (dir / "out/app_1-2.ico").string() + "\n");
    EXPECT_EQ(test::readFile(dir / "out/app_1.ico"), test::buildIconFile(g[0].images));
    EXPECT_EQ(test::readFile(dir / "out/app_1-2.ico"), test::buildIconFile(g[1].images));
    EXPECT_EQ(test::readFile(dir / "out/app_1-3.ico"), test::buildIconFile(g[1].images));

    const ToolRun nowhere =
        run("extract -o " + quoted(dir / "missing") + " " + quoted(dir / "a/app.exe"));
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_EQ(lineCount(nowhere.out), 1u) << nowhere.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

// The output folder fills as the walk goes: met inside a walked folder, by
// any path, it is passed over, so that fresh files are not read again. Named
// itself, it is walked.
TEST(Cli, extractPassesOverItsOutputFolderInsideTheWalk) {
    namespace fs = std::filesystem;
    const struct {
        const char* output; // below the tree
        const char* walked;
        std::vector<std::string> files;
    } cases[] = {
        {"out", "", {"app_1.ico"}},
        {"link", "", {"app_1.ico"}},
        {"out", "out", {"old_1.ico"}},
    };
    for (const auto& c : cases) {
        test::TempDir tree;
        fs::create_directory(tree / "out");
        fs::create_directory_symlink("out", tree / "link");
        test::writeFile(tree / "app.exe", test::buildPe({sampleGroups()[1]}));
        test::writeFile(tree / "out/old.exe", test::buildPe({sampleGroups()[2]}));
        std::string err;
        const ToolRun result = runApart("extract --pattern '*' -o " + quoted(tree / c.output) +
                                            " " + quoted(tree / c.walked),
                                        &err);
        EXPECT_EQ(result.status, 0) << c.output << ": " << err;
        std::string expected;
        for (const std::string& file : c.files)
            expected += (tree / c.output / file).string() + "\n";
        EXPECT_EQ(result.out, expected) << c.output << " in " << c.walked;
    }
}

TEST(Cli, extractAsPngWritesTheImageForTheSizeOrTheLargest) {
    test::TempDir dir;
    test::writeFile(dir / "app.exe", test::buildPe(sampleGroups()));
    const LibpngDecoder decoder;
    for (const auto& [size, expectedSide, colour] :
         std::vector<std::tuple<std::string, int, std::uint32_t>>{
             {"", 48, 0xFFFF0000}, {"--size 16", 16, 0xFF0000FF}, {"--size 30", 32, 0xFF00FF00}}) {
        test::TempDir out;
        const ToolRun result = run("extract --format png --icon 1 " + size + " -o " +
                                   quoted(out.path()) + " " + quoted(dir / "app.exe"));
        ASSERT_EQ(result.status, 0) << size << ": " << result.out;
        const auto png = test::readFile(out / "app_1.png");
        const auto picture = decoder.decode(ByteView(png));
        ASSERT_TRUE(picture) << size;
        EXPECT_EQ(picture->width, expectedSide) << size;
        EXPECT_EQ(picture->height, expectedSide) << size;
        EXPECT_EQ(picture->pixel(expectedSide / 2, expectedSide / 2), colour) << size;
    }
}

// An icon whose directory lists an image the file lacks: list and extract
// name it on standard error and fail, and extract still writes the images
// the file holds.
TEST(Cli, anImageTheFileLacksIsNamedAndTheRestExported) {
    test::TempDir dir;
    const std::vector<std::uint32_t> pixels(256 * 256, 0xFF0000FF);
    const test::StoredImage small = solidImage(16, 32, 0x00FF00);
    const test::StoredImage large{test::groupEntry(256, 256, 32, 0),
                                  test::encodePng(256, 256, pixels)};
    test::GroupResource group = groupOf(std::uint16_t{1}, {small, large});
    const auto listed = [](const test::StoredImage& image, std::uint32_t location) {
        GroupEntry entry = image.entry;
        entry.bytesInResource = static_cast<std::uint32_t>(image.bytes.size());
        entry.location = location;
        return entry;
    };
    GroupEntry lacked = test::groupEntry(48, 48, 32, 99, 9000); // no RT_ICON 99
    group.rawGroup = test::groupDirectory({listed(small, 1), lacked, listed(large, 2)});
    test::writeFile(dir / "app.exe", test::buildPe({group}));
    const std::string complaint = "orvu-icons-cli: " + (dir / "app.exe").string() +
                                  ": icon 1: incomplete: image 2 (48×48) missing\n";

    struct Case {
        std::string command;
        std::string inOutput;
        const char* written; // in the output folder, or null
    };
    const std::vector<Case> cases = {
        {"list", ", 48×48 32-bit missing, 256×256 32-bit PNG ", nullptr},
        {"list --json", "\"error\": \"incomplete: image 2 (48×48) missing\"}", nullptr},
        {"extract", "app_1.ico\n", "app_1.ico"},
        {"extract --format png", "app_1.png\n", "app_1.png"},
    };
    for (const Case& c : cases) {
        test::TempDir out;
        std::string err;
        const std::string output =
            c.command.starts_with("extract") ? " -o " + quoted(out.path()) : "";
        const ToolRun result = runApart(c.command + output + " " + quoted(dir / "app.exe"), &err);
        EXPECT_EQ(result.status, 1) << c.command;
        EXPECT_EQ(err, complaint) << c.command;
        EXPECT_NE(result.out.find(c.inOutput), std::string::npos)
            << c.command << ": " << result.out;
        if (!c.written)
            continue;
        const auto bytes = test::readFile(out / c.written);
        if (c.command == "extract") {
            EXPECT_EQ(bytes, test::buildIconFile({small, large})) << c.command;
        } else {
            const auto picture = LibpngDecoder().decode(ByteView(bytes));
            ASSERT_TRUE(picture) << c.command;
            EXPECT_EQ(picture->width, 256) << c.command;
        }
    }
}

// An image of the largest side, 1024 x 1024 at 32 bits (4 MB), listed as 256.
test::StoredImage largestSideImage() {
    test::DibDescription huge;
    huge.width = 1024;
    huge.height = 1024;
    huge.pixels.assign(1024 * 1024, 0x2080C0);
    return {test::groupEntry(0, 0, 32, 0), test::encodeDib(huge)};
}

// The group entry of `image` stored as the first RT_ICON resource.
GroupEntry firstResourceEntry(const test::StoredImage& image) {
    GroupEntry entry = image.entry;
    entry.bytesInResource = static_cast<std::uint32_t>(image.bytes.size());
    entry.location = 1;
    return entry;
}

// A small file whose icon lists one large image over and over fails over
// the bytes one file may give, within bounded memory and writing nothing:
// a 5 MB icon file listing a 4 MB image 65 535 times, and a 0.9 MB
// executable listing a 4 KB one as often (a 280 MB .ico otherwise).
TEST(Cli, anIconListingOneImageOverAndOverFailsOverTheLimit) {
    test::TempDir dir;
    test::writeFile(dir / "bomb.ico", test::iconFileRepeating(largestSideImage(), 0xFFFF));
    const test::StoredImage image = solidImage(32, 32, 0x2080C0);
    const GroupEntry entry = firstResourceEntry(image);
    test::GroupResource group = groupOf(std::uint16_t{1}, {image});
    group.rawGroup = test::groupDirectory(std::vector<GroupEntry>(0xFFFF, entry));
    test::writeFile(dir / "bomb.exe", test::buildPe({group}));

    for (const char* name : {"bomb.ico", "bomb.exe"}) {
        test::TempDir out;
        std::string err;
        // Within 4 GB of address space, as a user would limit it; the
        // sanitizers' shadow memory needs more than that.
#if defined(__SANITIZE_ADDRESS__)
        const std::string limit;
#else
        const std::string limit = "ulimit -v 4000000 && ";
#endif
        const ToolRun result =
            runApart("extract -o " + quoted(out.path()) + " " + quoted(dir / name), &err, limit);
        EXPECT_EQ(result.status, 1) << name << ": " << err;
        EXPECT_EQ(result.out, "") << name;
        EXPECT_EQ(lineCount(err), 1u) << name << ": " << err;
        EXPECT_NE(err.find(std::string(name) + ": icon 1: too large: "), std::string::npos) << err;
        EXPECT_NE(err.find("MaxBytesPerFile"), std::string::npos) << name << ": " << err;
        EXPECT_TRUE(std::filesystem::is_empty(out.path())) << name;
    }
}

// The limit bounds each icon listed, not the whole file, whose icons may
// hold more (imageres.dll's 256-pixel images do): 20 icons naming one 4 MB
// image, 80 MB in all, are each listed with their fingerprints.
TEST(Cli, listGivesEachIconTheWholeLimit) {
    test::TempDir dir;
    const test::StoredImage image = largestSideImage();
    const GroupEntry entry = firstResourceEntry(image);
    std::vector<test::GroupResource> groups{groupOf(std::uint16_t{1}, {image})};
    for (std::uint16_t id = 2; id <= 20; ++id) {
        groups.push_back(groupOf(id, {}));
        groups.back().rawGroup = test::groupDirectory({entry});
    }
    test::writeFile(dir / "large.exe", test::buildPe(groups));

    std::string err;
    const ToolRun result = runApart("list --fingerprints " + quoted(dir / "large.exe"), &err);
    EXPECT_EQ(result.status, 0) << err;
    EXPECT_EQ(err, "");
    EXPECT_EQ(lineCount(result.out), 1u + 20 * 2) << result.out; // each icon, then its hashes
    EXPECT_EQ(result.out.find("none"), std::string::npos) << result.out;
}

// The .ico files hold what icoutils' wrestool writes for the same groups.
// wrestool ends each file with as many bytes more as the group resource is
// long (6 + 14 per image), bytes that lie past the last image and that no
// reader looks at; everything before them is the same.
TEST(Cli, extractWritesWhatWrestoolWritesForTheSameGroup) {
    const std::filesystem::path wine = wineFolder();
    if (const auto missing = lacksCorpusOrWrestool(wine / "shell32.dll"))
        GTEST_SKIP() << *missing;
    std::size_t compared = 0;
    for (const char* name : {"notepad.exe", "shell32.dll"}) {
        test::TempDir ours;
        test::TempDir theirs;
        ASSERT_EQ(run("extract -o " + quoted(ours.path()) + " " + quoted(wine / name)).status, 0);
        ASSERT_EQ(wrestoolExtract(14, wine / name, theirs.path()), 0);
        auto library = openIconLibrary(wine / name, nullptr);
        ASSERT_TRUE(library);
        const std::string stem = std::filesystem::path(name).stem().string();
        for (std::uint32_t k = 0; k < library->count(); ++k) {
            const auto icon = library->describe({GroupKind::Icon, k});
            ASSERT_TRUE(icon);
            const std::string id = icon->name.id ? std::to_string(*icon->name.id) : icon->name.name;
            const auto mine = test::readFile(ours / (stem + "_" + std::to_string(k + 1) + ".ico"));
            const auto wrestool =
                test::readFile(theirs / (std::string(name) + "_14_" + id + "_" +
                                         std::to_string(icon->name.language.value_or(0)) + ".ico"));
            ASSERT_EQ(wrestool.size(), mine.size() + 6 + 14 * icon->images.size()) << name << k;
            EXPECT_TRUE(std::equal(mine.begin(), mine.end(), wrestool.begin())) << name << k;
            ++compared;
        }
    }
    EXPECT_GT(compared, 100u);
}

// The .cur files hold the image bytes and hotspots that icoutils' wrestool
// writes for the same cursor groups. wrestool's directory halves the height
// and counts each image's 4 hotspot bytes in its size, so only the images,
// at the offsets both give, and the hotspots are compared.
TEST(Cli, extractedCursorsHoldWrestoolsImagesAndHotspots) {
    const std::filesystem::path wine = wineFolder();
    if (const auto missing = lacksCorpusOrWrestool(wine / "user32.dll"))
        GTEST_SKIP() << *missing;
    struct Entry {
        std::uint32_t hotspot;
        std::uint32_t size;
        std::uint32_t offset;
    };
    const auto entries = [](const std::vector<std::uint8_t>& file) {
        std::vector<Entry> result;
        const ByteView view(file);
        for (std::uint16_t i = 0; i < view.u16(4).value_or(0); ++i)
            result.push_back({view.u32(6 + 16 * i + 4).value_or(0),
                              view.u32(6 + 16 * i + 8).value_or(0),
                              view.u32(6 + 16 * i + 12).value_or(0)});
        return result;
    };
    std::size_t compared = 0;
    for (const char* name :
         {"user32.dll", "comctl32.dll", "ole32.dll", "riched20.dll", "wordpad.exe"}) {
        test::TempDir ours;
        test::TempDir theirs;
        ASSERT_EQ(run("extract --kind cursor -o " + quoted(ours.path()) + " " + quoted(wine / name))
                      .status,
                  0);
        ASSERT_EQ(wrestoolExtract(12, wine / name, theirs.path()), 0);
        auto library = openIconLibrary(wine / name, nullptr);
        ASSERT_TRUE(library);
        const std::string stem = std::filesystem::path(name).stem().string();
        for (std::uint32_t k = 0; k < library->count(GroupKind::Cursor); ++k) {
            const auto cursor = library->describe({GroupKind::Cursor, k});
            ASSERT_TRUE(cursor);
            const auto mine = test::readFile(ours / (stem + "_" + std::to_string(k + 1) + ".cur"));
            const auto wrestool = test::readFile(
                theirs / (std::string(name) + "_12_" + std::to_string(cursor->name.id.value_or(0)) +
                          "_" + std::to_string(cursor->name.language.value_or(0)) + ".cur"));
            const auto a = entries(mine);
            const auto b = entries(wrestool);
            ASSERT_EQ(a.size(), b.size()) << name << k;
            ASSERT_FALSE(a.empty()) << name << k;
            for (std::size_t i = 0; i < a.size(); ++i) {
                EXPECT_EQ(a[i].hotspot, b[i].hotspot) << name << k << " image " << i;
                EXPECT_EQ(a[i].offset, b[i].offset) << name << k << " image " << i;
                EXPECT_EQ(a[i].size + 4, b[i].size) << name << k << " image " << i;
                ASSERT_LE(std::uint64_t{b[i].offset} + a[i].size, wrestool.size());
                ASSERT_EQ(std::uint64_t{a[i].offset} + a[i].size,
                          i + 1 < a.size() ? a[i + 1].offset : mine.size());
                EXPECT_TRUE(std::equal(mine.begin() + a[i].offset,
                                       mine.begin() + a[i].offset + a[i].size,
                                       wrestool.begin() + b[i].offset))
                    << name << k << " image " << i;
            }
            ++compared;
        }
    }
    EXPECT_EQ(compared, 38u); // 28 + 4 + 4 + 1 + 1
}

// A cursor saved from a program, as icoutils' icotool reads it: each image
// at its size with its hotspot, and the file's directory giving each image
// the size its bitmap has (an executable's cursor directory doubles the
// height; a .cur file's doesn't).
TEST(Cli, extractedCursorsReadBackInIcotoolAtTheirSizes) {
    if (std::system("command -v icotool >/dev/null") != 0)
        GTEST_SKIP() << "no icotool (Debian package icoutils)";
    const auto image = [](int size, int bits, Hotspot hotspot) {
        test::StoredImage made = solidImage(size, bits, 0x336699);
        made.entry.hotspot = hotspot;
        return made;
    };
    test::GroupResource cursor =
        groupOf(std::uint16_t{32512}, {image(32, 32, {3, 9}), image(48, 1, {47, 0}),
                                       image(16, 8, {0, 15}), image(1, 32, {0, 0})});
    cursor.type = test::GroupType::Cursor;
    test::TempDir dir;
    test::writeFile(dir / "app.exe", test::buildPe({cursor}));
    ASSERT_EQ(run("extract --kind cursor -o " + quoted(dir.path()) + " " + quoted(dir / "app.exe"))
                  .status,
              0);
    const std::filesystem::path saved = dir / "app_1.cur";
    const std::string listing = quoted(dir / "listing.txt");
    ASSERT_EQ(std::system(("icotool -l " + quoted(saved) + " >" + listing).c_str()), 0);
    const auto text = test::readFile(dir / "listing.txt");
    const std::vector<std::string> lines = linesOf(std::string(text.begin(), text.end()));
    const std::vector<std::string> expected = {
        "--cursor --index=1 --width=32 --height=32 --bit-depth=32 --palette-size=0 --hotspot-x=3 "
        "--hotspot-y=9",
        "--cursor --index=2 --width=48 --height=48 --bit-depth=1 --palette-size=2 --hotspot-x=47 "
        "--hotspot-y=0",
        "--cursor --index=3 --width=16 --height=16 --bit-depth=8 --palette-size=2 "
        "--hotspot-x=0 --hotspot-y=15",
        "--cursor --index=4 --width=1 --height=1 --bit-depth=32 --palette-size=0 --hotspot-x=0 "
        "--hotspot-y=0"};
    EXPECT_EQ(lines, expected);
    const auto file = test::readFile(saved);
    const ByteView view(file);
    for (std::uint16_t i = 0; i < 4; ++i) {
        const int side = std::array{32, 48, 16, 1}[i];
        EXPECT_EQ(int{view.u8(6 + 16 * i).value_or(0)}, side) << "width of image " << i + 1;
        EXPECT_EQ(int{view.u8(6 + 16 * i + 1).value_or(0)}, side) << "height of image " << i + 1;
    }
}

// A program's cursors and an animated cursor, and cursor and animated cursor
// files, as each command shows them.
TEST(Cli, cursorsAreListedExtractedThumbnailedAndDrawnByKind) {
    test::TempDir dir;
    test::StoredImage arrow = solidImage(32, 24, 0x123456);
    arrow.entry.hotspot = Hotspot{3, 9};
    const test::ByteVector cur = test::buildCursorFile({arrow});
    const test::ByteVector ani = test::buildAnimation({.frames = {cur, cur}, .rates = {5, 6}});
    test::GroupResource cursor = groupOf(std::uint16_t{4}, {arrow});
    cursor.type = test::GroupType::Cursor;
    test::GroupResource animated = groupOf(std::uint16_t{5}, {});
    animated.type = test::GroupType::AnimatedCursor;
    animated.animation = ani;
    test::writeFile(dir / "app.exe",
                    test::buildPe({groupOf(std::uint16_t{1}, {solidImage(16, 32, 0xFF0000)}),
                                   cursor, animated}));
    test::writeFile(dir / "arrow.cur", cur);
    test::writeFile(dir / "busy.ani", ani);

    std::string err;
    const ToolRun listed = runApart("list --json " + quoted(dir / "app.exe"), &err);
    EXPECT_EQ(listed.status, 0) << err;
    for (const char* part :
         {"{\"position\": 1, \"kind\": \"icon\", \"id\": 1,", "\"bytes\": 1128}",
          "{\"position\": 1, \"kind\": \"cursor\", \"id\": 4,", "\"hotspot\": [3, 9]}",
          "{\"position\": 1, \"kind\": \"animated\", \"id\": 5,"})
        EXPECT_NE(listed.out.find(part), std::string::npos) << part << " in " << listed.out;

    struct Case {
        std::string kind;
        std::vector<std::string> written;
    };
    for (const Case& c :
         std::vector<Case>{{"", {"app_1.ico"}},
                           {"--kind cursor", {"app_1.cur"}},
                           {"--kind all", {"app_1.ani", "app_1.cur", "app_1.ico"}}}) {
        test::TempDir out;
        const ToolRun result =
            run("extract " + c.kind + " -o " + quoted(out.path()) + " " + quoted(dir / "app.exe"));
        EXPECT_EQ(result.status, 0) << c.kind << ": " << result.out;
        std::vector<std::string> names;
        for (const auto& file : std::filesystem::directory_iterator(out.path()))
            names.push_back(file.path().filename().string());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.written) << c.kind;
        if (std::filesystem::exists(out / "app_1.ani")) {
            EXPECT_EQ(test::readFile(out / "app_1.ani"), ani);
        }
    }

    const LibpngDecoder decoder;
    for (const char* file : {"arrow.cur", "busy.ani"}) {
        test::TempDir out;
        EXPECT_EQ(run("thumbnail " + quoted(dir / file) + " " + quoted(out / "t.png")).status, 0)
            << file;
        const auto picture = decoder.decode(ByteView(test::readFile(out / "t.png")));
        ASSERT_TRUE(picture) << file;
        EXPECT_EQ(picture->width, 32) << file;
        EXPECT_EQ(picture->pixel(0, 0), 0xFF123456u) << file;
    }

    std::string cell;
    for (int i = 0; i < 1024; ++i)
        cell += "123456";
    EXPECT_EQ(
        run("cells --kind cursor " + quoted(dir / "arrow.cur") + " " + quoted(dir / "app.exe")).out,
        (dir / "arrow.cur").string() + "\t1\t" + cell + "@3,9\n" + (dir / "app.exe").string() +
            "\t1\t" + cell + "@3,9\n");
}

// --- thumbnail ---------------------------------------------------------------

// A 64 x 64 image of opaque white pixels and transparent black ones in a
// checkerboard: every 2 x 2 square averages to half-transparent white.
test::StoredImage checkerboard() {
    test::DibDescription dib;
    dib.width = 64;
    dib.height = 64;
    dib.bitCount = 32;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            dib.pixels.push_back((x + y) % 2 == 0 ? 0xFFFFFFFF : 0x00000000);
    }
    return {test::groupEntry(64, 64, 32, 0), test::encodeDib(dib)};
}

std::string fileUri(const std::filesystem::path& path) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const unsigned char c : path.string()) {
        if (std::isalnum(c) || std::strchr("/-._~", c)) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += Hex[c >> 4];
            uri += Hex[c & 15];
        }
    }
    return uri;
}

TEST(Cli, thumbnailIsTheMainIconsBestImageScaledDownWithAlpha) {
    test::TempDir dir;
    const std::filesystem::path program = dir / "图标 程序"; // its URI ends in an escape
    test::writeFile(program, test::buildPe({groupOf(std::uint16_t{1},
                                                    {solidImage(16, 32, 0x0000FF), checkerboard()}),
                                            groupOf(std::uint16_t{2}, {solidImage(256, 32, 0)})}));
    struct Case {
        std::string input;
        std::string size;
        int side;
        std::uint32_t topLeft;
        std::uint32_t second;
    };
    const std::vector<Case> cases = {
        // The smallest image at least 32 wide, averaged down on premultiplied alpha.
        {quoted(program), "-s 32", 32, 0x80FFFFFF, 0x80FFFFFF},
        {quoted(std::filesystem::path(fileUri(program))), "-s 16", 16, 0xFF0000FF, 0xFF0000FF},
        // Never enlarged.
        {quoted(std::filesystem::path("file://localhost" + fileUri(program).substr(7))), "", 64,
         0xFFFFFFFF, 0},
    };
    const LibpngDecoder decoder;
    for (const Case& c : cases) {
        std::string err;
        const ToolRun result =
            runApart("thumbnail " + c.size + " " + c.input + " " + quoted(dir / "thumb.png"), &err);
        ASSERT_EQ(result.status, 0) << c.input << ": " << err;
        const auto png = test::readFile(dir / "thumb.png");
        const auto picture = decoder.decode(ByteView(png));
        ASSERT_TRUE(picture) << c.input;
        EXPECT_EQ(picture->width, c.side) << c.input;
        EXPECT_EQ(picture->height, c.side) << c.input;
        EXPECT_EQ(picture->pixel(0, 0), c.topLeft) << c.input;
        EXPECT_EQ(picture->pixel(1, 0), c.second) << c.input;
    }
}

// A stored PNG that fits is passed through as it is only when it is whole:
// a damaged one, which our decoder reads but strict readers (the thumbnail
// services' own) refuse, is encoded afresh from its pixels.
TEST(Cli, thumbnailOfAStoredPngThatFitsIsThatPngWhenItIsWhole) {
    const std::vector<std::uint32_t> pixels(48 * 48, 0x80336699);
    const auto png = test::encodePng(48, 48, pixels);
    const std::size_t end = png.size() - 12; // where IEND starts
    auto badChecksum = png;
    badChecksum.back() ^= 1;
    auto trailing = png;
    trailing.push_back(0);
    const struct {
        const char* what;
        std::vector<std::uint8_t> stored;
        bool passedThrough;
    } cases[] = {
        {"whole", png, true},
        {"IEND with a wrong checksum", badChecksum, false},
        {"no IEND", {png.begin(), png.begin() + static_cast<std::ptrdiff_t>(end)}, false},
        {"bytes after IEND", trailing, false},
    };
    const LibpngDecoder decoder;
    for (const auto& c : cases) {
        test::TempDir dir;
        test::writeFile(dir / "one.ico",
                        test::buildIconFile({{test::groupEntry(48, 48, 32, 0), c.stored}}));
        ASSERT_EQ(
            run("thumbnail -s 48 " + quoted(dir / "one.ico") + " " + quoted(dir / "t.png")).status,
            0)
            << c.what;
        const auto decoded = decoder.decode(ByteView(c.stored));
        ASSERT_TRUE(decoded) << c.what;
        const auto fresh = encodePng(*decoded);
        ASSERT_TRUE(fresh) << c.what;
        EXPECT_EQ(test::readFile(dir / "t.png"), c.passedThrough ? c.stored : *fresh) << c.what;
    }
}

TEST(Cli, thumbnailWithoutAnIconWritesNothing) {
    test::TempDir dir;
    test::writeFile(dir / "text.exe", {'h', 'i'});
    test::writeFile(dir / "none.exe", test::buildPe({}));
    const struct {
        std::string input;
        std::string says; // how the one line ends
    } cases[] = {
        {quoted(dir / "text.exe"), "not an executable or icon file\n"},
        {quoted(dir / "none.exe"), "none.exe: no thumbnail: the file has no icons\n"},
        {quoted(dir / "missing.exe"), "\n"},
        {quoted(dir.path()), "\n"},
        {quoted(std::filesystem::path("file://elsewhere" + (dir / "none.exe").string())),
         "not a local file\n"},
    };
    for (const auto& c : cases) {
        std::string err;
        const ToolRun result =
            runApart("thumbnail " + c.input + " " + quoted(dir / "thumb.png"), &err);
        EXPECT_EQ(result.status, 1) << c.input;
        EXPECT_EQ(lineCount(err), 1u) << c.input << ": " << err;
        EXPECT_TRUE(err.ends_with(c.says)) << c.input << ": " << err;
        EXPECT_FALSE(std::filesystem::exists(dir / "thumb.png")) << c.input;
    }
}

// The thumbnail services make the output file themselves and read back that
// very file: an existing one is filled in place. The input is never written
// over, by whatever name, and a link at the output is never followed.
TEST(Cli, thumbnailWritesItsOutputInPlaceAndNeverOverItsInput) {
    namespace fs = std::filesystem;
    const auto program = test::buildPe({groupOf(std::uint16_t{1}, {solidImage(32, 32, 0xFF)})});
    const std::vector<std::uint8_t> other = {'k', 'e', 'e', 'p'};
    struct Case {
        const char* what;
        std::function<void(const test::TempDir&)> plant; // a.exe is there already
        std::string input;
        std::string output;
        std::string complaint; // empty: a PNG is written into the output file
    };
    const std::vector<Case> cases = {
        {"a file the service made", [&](auto& d) { test::writeFile(d / "out.png", {}); }, "a.exe",
         "out.png", ""},
        {"a longer file the service made",
         [&](auto& d) { test::writeFile(d / "out.png", std::vector<std::uint8_t>(65536, 'x')); },
         "a.exe", "out.png", ""},
        {"no file yet", [](auto&) {}, "a.exe", "out.png", ""},
        {"the input itself", [](auto&) {}, "a.exe", "a.exe", "a.exe: it is the input file"},
        {"a hard link to the input",
         [](auto& d) { fs::create_hard_link(d / "a.exe", d / "out.png"); }, "a.exe", "out.png",
         "out.png: it is the input file"},
        {"the input, named through a link",
         [](auto& d) { fs::create_symlink(d / "a.exe", d / "in.exe"); }, "in.exe", "a.exe",
         "a.exe: it is the input file"},
        {"a link to the input", [](auto& d) { fs::create_symlink("a.exe", d / "out.png"); },
         "a.exe", "out.png", "out.png: not a regular file: a symbolic link"},
        {"a link to another file",
         [&](auto& d) {
             test::writeFile(d / "other", other);
             fs::create_symlink("other", d / "out.png");
         },
         "a.exe", "out.png", "out.png: not a regular file: a symbolic link"},
        {"a link to nothing", [](auto& d) { fs::create_symlink("other", d / "out.png"); }, "a.exe",
         "out.png", "out.png: not a regular file: a symbolic link"},
    };
    const LibpngDecoder decoder;
    for (const Case& c : cases) {
        test::TempDir dir;
        test::writeFile(dir / "a.exe", program);
        c.plant(dir);
        const fs::path output = dir / c.output;
        struct stat before {};
        const bool existed = ::lstat(output.c_str(), &before) == 0;
        std::string err;
        const ToolRun result =
            runApart("thumbnail " + quoted(dir / c.input) + " " + quoted(output), &err);
        EXPECT_EQ(test::readFile(dir / "a.exe"), program) << c.what;
        if (!c.complaint.empty()) {
            EXPECT_EQ(result.status, 1) << c.what;
            EXPECT_EQ(err, "orvu-icons-cli: cannot write " + (dir / c.complaint).string() + "\n")
                << c.what;
            EXPECT_FALSE(fs::exists(dir / "other") && test::readFile(dir / "other") != other)
                << c.what;
            continue;
        }
        EXPECT_EQ(result.status, 0) << c.what << ": " << err;
        struct stat after {};
        ASSERT_EQ(::lstat(output.c_str(), &after), 0) << c.what;
        if (existed) {
            EXPECT_EQ(after.st_ino, before.st_ino) << c.what;
        }
        const auto png = test::readFile(output);
        const auto picture = decoder.decode(ByteView(png));
        ASSERT_TRUE(picture) << c.what;
        EXPECT_EQ(picture->width, 32) << c.what;
        // The file ends where the PNG ends, with its IEND chunk: nothing of an older file stays.
        const std::vector<std::uint8_t> iend = {'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
        ASSERT_GE(png.size(), iend.size()) << c.what;
        EXPECT_TRUE(std::equal(iend.begin(), iend.end(), png.end() - 8)) << c.what;
    }
}

// A 256 x 256 PNG that the directory lists as 13 x 0 at 21 060 bits (as
// Delphi's and Inno Setup's resource compilers write it) is listed as it is,
// with what the directory says, and is the largest image wherever one
// picture is taken; Windows' choice for a size still goes by the directory.
TEST(Cli, aPngListedByBytesOfItsHeaderIsTheLargestImage) {
    test::TempDir dir;
    const auto icon = test::iconListingPngByItsHeader(0xFFFFFF00);
    test::writeFile(dir / "setup.exe", test::buildPe({icon}));
    const std::string setup = quoted(dir / "setup.exe");
    const std::string png = sizeOf(icon.images[3]);
    EXPECT_NE(run("list " + setup)
                  .out.find(", 256×256 32-bit PNG " + png + " B listed as 13×0 21060-bit\n"),
              std::string::npos);
    EXPECT_NE(run("list --json " + setup)
                  .out.find(R"({"width": 256, "height": 256, "bits": 32, "colours": 0, )"
                            R"("format": "png", "bytes": )" +
                            png + R"(, "listed_as": {"width": 13, "height": 0, "bits": 21060}})"),
              std::string::npos);

    struct Case {
        std::string command; // writing OUT
        int side;
        std::uint32_t colour;
    };
    const std::vector<Case> cases = {
        {"extract --format png -o OUT", 256, 0xFFFFFF00},
        {"extract --format png --size 256 -o OUT", 48, 0xFF0000FF}, // as Windows chooses
        {"thumbnail -s 256 IN OUT/t.png", 256, 0xFFFFFF00},
        {"thumbnail -s 128 IN OUT/t.png", 128, 0xFFFFFF00},
    };
    const LibpngDecoder decoder;
    for (const Case& c : cases) {
        test::TempDir out;
        std::string command = c.command;
        command.replace(command.find("OUT"), 3, quoted(out.path()));
        if (const auto in = command.find("IN"); in != std::string::npos)
            command.replace(in, 2, setup);
        else
            command += " " + setup;
        std::string err;
        ASSERT_EQ(runApart(command, &err).status, 0) << c.command << ": " << err;
        const auto written = std::filesystem::directory_iterator(out.path())->path();
        const auto picture = decoder.decode(ByteView(test::readFile(written)));
        ASSERT_TRUE(picture) << c.command;
        EXPECT_EQ(picture->width, c.side) << c.command;
        EXPECT_EQ(picture->pixel(c.side / 2, c.side / 2), c.colour) << c.command;
    }
}

// A cursor whose directory claims 65 535 pixels a side for an image that
// can't be read ranks by 64-bit products: the thumbnail is its good image.
TEST(Cli, thumbnailPassesOverAnImageClaimingTheLargestSides) {
    test::TempDir dir;
    test::StoredImage claim{test::groupEntry(0, 0, 32, 0), {0, 0, 0, 0}};
    claim.entry.cursorSize = CursorSize{0xFFFF, 0xFFFF};
    test::GroupResource cursor = groupOf(std::uint16_t{1}, {claim, solidImage(32, 32, 0x2080C0)});
    cursor.type = test::GroupType::Cursor;
    test::writeFile(dir / "cursor.exe", test::buildPe({cursor}));
    std::string err;
    ASSERT_EQ(
        runApart("thumbnail " + quoted(dir / "cursor.exe") + " " + quoted(dir / "t.png"), &err)
            .status,
        0)
        << err;
    const auto picture = LibpngDecoder().decode(ByteView(test::readFile(dir / "t.png")));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 32);
    EXPECT_EQ(picture->pixel(0, 0), 0xFF2080C0u);
}

// Where the disk fills up while the picture goes into the file the service
// made, the file is left empty (no picture) instead of holding the first
// part of one: past the file size limit (the write fails, EFBIG), and on a
// full file system (ENOSPC), a 16 KB tmpfs in a mount namespace of the
// test's own where the machine allows one.
TEST(Cli, thumbnailOnAFullDiskLeavesItsOutputEmpty) {
    test::TempDir dir;
    std::vector<std::uint32_t> noise(256 * 256);
    std::uint32_t seed = 1;
    for (std::uint32_t& pixel : noise)
        pixel = 0xFF000000u | (seed = seed * 1664525u + 1013904223u) >> 8;
    const auto png = test::encodePng(256, 256, noise); // some 200 KB, stored whole
    test::writeFile(
        dir / "a.exe",
        test::buildPe({groupOf(std::uint16_t{1}, {{test::groupEntry(0, 0, 32, 0), png}})}));
    const std::string thumbnail = "thumbnail " + quoted(dir / "a.exe") + " ";

    test::writeFile(dir / "out.png", {});
    std::string err;
    ToolRun result =
        runApart(thumbnail + quoted(dir / "out.png"), &err, "trap '' XFSZ; ulimit -f 32 && ");
    EXPECT_EQ(result.status, 1) << err;
    EXPECT_NE(err.find("cannot write " + (dir / "out.png").string()), std::string::npos) << err;
    EXPECT_EQ(std::filesystem::file_size(dir / "out.png"), 0u);

    // The tool runs inside the namespace, which then says the output's size.
    const std::string space = ::getuid() == 0 ? "unshare --mount --propagation private "
                                              : "unshare --user --map-root-user --mount ";
    if (std::system((space + "true 2>/dev/null").c_str()) != 0) {
        std::cout << "no mount namespace here: the full file system is not tried\n";
        return;
    }
    const std::filesystem::path disk = dir / "disk";
    std::filesystem::create_directory(disk);
    const std::string inside = "\"" + disk.string() + "\"";
    result = runApart(thumbnail + quoted(disk / "out.png"), &err,
                      space + "sh -c 'mount -t tmpfs -o size=16k none " + inside + " && : >" +
                          inside + "/out.png && \"$0\" \"$@\"; s=$?; stat -c %s " + inside +
                          "/out.png; exit $s' ");
    EXPECT_EQ(result.status, 1) << err;
    EXPECT_NE(err.find("No space left on device"), std::string::npos) << err;
    EXPECT_EQ(result.out, "0\n") << err;
}

// --- Icons by reference ------------------------------------------------------

TEST(Cli, referencesAndShortcutsNameOneIconAndSayWhereItComesFrom) {
    test::TempDir dir;
    const test::ReferenceTree tree = test::writeReferenceTree(dir.path());
    const std::string root = "--windows-root " + quoted(tree.root);
    const std::string shell32 = (tree.root / "Windows/System32/shell32.dll").string();
    const std::string mun = (tree.root / "Windows/SystemResources/imageres.dll.mun").string();
    struct Case {
        std::string arguments;
        std::vector<std::string> out; // each in the standard output
        std::string err;              // in the standard error, or nothing there
        int status;
    };
    const std::vector<Case> cases = {
        {"list " + quoted(std::filesystem::path(shell32 + ",-16")),
         {shell32 + ",-16: icon 3 of 3, icons from " + shell32 + "\n", "  #3  id 16 "},
         "",
         0},
        {"list " + root + " '%SystemRoot%\\System32\\imageres.dll'",
         {"imageres.dll: 3 icons, icons from " + mun + "\n", "  #1  id 2 ", "  #3  id 5 "},
         "",
         0},
        {"list --json " + root + " " + quoted(tree.links / "Shell.lnk"),
         {"\"source\": \"" + shell32 + "\"",
          "\"icons\": [{\"position\": 3, \"kind\": \"icon\", \"id\": 16,"},
         "",
         0},
        {"list --json " + root + " " + quoted(tree.links / "Music.lnk"),
         {"\"source\": \"" + mun + "\"", "[{\"position\": 2, \"kind\": \"icon\", \"id\": 3,"},
         "",
         0},
        {"list --pattern '*.dll' " + quoted(tree.root / "Windows/System32"),
         {"imageres.dll: 3 icons, icons from " + mun + "\n", "shell32.dll: 3 icons\n"},
         "",
         0},
        {"list --pattern '*' " + quoted(tree.links),
         {"Shell.lnk: not an executable or icon file\n"},
         "",
         0},
        {"list 'C:\\Windows\\System32\\shell32.dll,0'",
         {},
         "cannot be followed: a Windows path, and no Windows root to find it in",
         1},
        {"list --windows-root " + quoted(dir / "none") + " " +
             quoted(std::filesystem::path(shell32)),
         {},
         "orvu-icons-cli: --windows-root " + (dir / "none").string() +
             ": No such file or directory\n",
         1},
        {"list " + quoted(std::filesystem::path(shell32 + ",7")), {}, "no icon at index 7", 1},
        {"extract --icon 1 -o " + quoted(dir.path()) + " " +
             quoted(std::filesystem::path(shell32 + ",-16")),
         {},
         "no icon 1",
         1},
    };
    for (const Case& c : cases) {
        std::string err;
        const ToolRun result = runApart(c.arguments, &err);
        EXPECT_EQ(result.status, c.status) << c.arguments << "\n" << err;
        for (const std::string& text : c.out)
            EXPECT_NE(result.out.find(text), std::string::npos) << c.arguments << "\n"
                                                                << result.out;
        if (c.err.empty())
            EXPECT_EQ(err, "") << c.arguments;
        else
            EXPECT_NE(err.find(c.err), std::string::npos) << c.arguments << "\n" << err;
    }
}

TEST(Cli, extractAndThumbnailTakeTheIconAShortcutShows) {
    namespace fs = std::filesystem;
    test::TempDir dir;
    const test::ReferenceTree tree = test::writeReferenceTree(dir.path());
    const std::string root = "--windows-root " + quoted(tree.root);
    fs::create_directories(dir / "out");

    const ToolRun extracted = run("extract " + root + " -o " + quoted(dir / "out") + " " +
                                  quoted(tree.links / "Music.lnk"));
    EXPECT_EQ(extracted.status, 0) << extracted.out;
    EXPECT_EQ(extracted.out, (dir / "out/imageres_2.ico").string() + "\n");
    IconLibrary icon = IconLibrary::fromBytes(test::readFile(dir / "out/imageres_2.ico"), nullptr);
    const auto large = icon.largeIcon(0);
    ASSERT_TRUE(large);
    EXPECT_EQ(large->pixel(0, 0) & 0xFFFFFF, 0x030080u); // the icon with id 3

    const ToolRun thumbnail = run("thumbnail " + root + " -s 16 " +
                                  quoted(tree.links / "Shell.lnk") + " " + quoted(dir / "t.png"));
    EXPECT_EQ(thumbnail.status, 0) << thumbnail.out;
    const auto png = test::readFile(dir / "t.png");
    const auto picture = LibpngDecoder().decode(ByteView(png));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 16);
    EXPECT_EQ(picture->pixel(8, 8) & 0xFFFFFF, 0x100080u); // the icon with id 16, scaled

    const std::string link = quoted(tree.links / "Shell.lnk");
    const ToolRun overLink = run("thumbnail " + root + " " + link + " " + link);
    EXPECT_EQ(overLink.status, 1);
    EXPECT_NE(overLink.out.find("it is the input file"), std::string::npos) << overLink.out;
}

} // namespace
} // namespace orvu
