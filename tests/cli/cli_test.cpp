// orvu-icons-cli as its users call it.

#include "support/icon_builders.h"
#include "support/png_writer.h"
#include "support/test_files.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace orvu {
namespace {

struct ToolRun {
    std::string out;
    int status = -1;
};

// Runs the tool with the arguments (already quoted for the shell); stderr
// is appended to the output, and `stdoutTo` (a shell redirection) may send
// the standard output elsewhere.
ToolRun run(const std::string& arguments, const std::string& stdoutTo = {}) {
    const std::string command =
        std::string("'") + ORVU_CLI + "' " + arguments + " 2>&1 " + stdoutTo;
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
    EXPECT_EQ(run("extract x").status, 2);
    EXPECT_EQ(run("scan").status, 2);

    const ToolRun missing = run("cells /nonexistent/app.exe");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("/nonexistent/app.exe"), std::string::npos);
    EXPECT_EQ(std::count(missing.out.begin(), missing.out.end(), '\n'), 1);

    const ToolRun notAFolder = run("scan /nonexistent");
    EXPECT_EQ(notAFolder.status, 1);
    EXPECT_EQ(std::count(notAFolder.out.begin(), notAFolder.out.end(), '\n'), 1);
}

// Output that can't be written is a failure, never a success.
TEST(Cli, aFullDiskFailsWithOneLine) {
    test::TempDir dir;
    test::GroupResource group;
    group.name = std::uint16_t{1};
    group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, 0x123456)}};
    test::writeFile(dir / "a.exe", test::buildPe({group}));
    for (const std::string& arguments :
         {"cells " + quoted(dir / "a.exe"), "scan " + quoted(dir.path())}) {
        const ToolRun full = run(arguments, ">/dev/full");
        EXPECT_EQ(full.status, 1) << arguments;
        EXPECT_EQ(std::count(full.out.begin(), full.out.end(), '\n'), 1) << full.out;
        EXPECT_NE(full.out.find("No space left on device"), std::string::npos) << full.out;
        EXPECT_EQ(run(arguments, ">/dev/null").status, 0) << arguments;
    }
}

TEST(Cli, scanEndsWithFilesIconsAndSeconds) {
    test::TempDir dir;
    test::GroupResource group;
    group.name = std::uint16_t{1};
    group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, 0x654321)}};
    std::filesystem::create_directory(dir / "sub");
    test::writeFile(dir / "a.EXE", test::buildPe({group}));
    test::writeFile(dir / "sub/b.exe", test::buildPe({group, group}));
    test::writeFile(dir / "c.dll", test::buildPe({group}));
    const ToolRun executables = run("scan " + quoted(dir.path()));
    EXPECT_EQ(executables.status, 0);
    EXPECT_NE(executables.out.find("2 files matched, 3 icons, "), std::string::npos)
        << executables.out;
    const ToolRun everything = run("scan " + quoted(dir.path()) + " --pattern '*'");
    EXPECT_NE(everything.out.find("3 files matched, 4 icons, "), std::string::npos)
        << everything.out;
    EXPECT_NE(everything.out.find(" seconds\n"), std::string::npos);
}

} // namespace
} // namespace orvu
