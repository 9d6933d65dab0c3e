// orvu-icons --help, --version and a wrong command line, in each language,
// as a person starts the program.

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace orvu {
namespace {

struct WindowRun {
    std::string out;
    std::string err;
    int status = -1;
};

// The program with `arguments`, in the locale that `environment` sets.
WindowRun runWindow(const std::string& environment, const std::string& arguments) {
    // Named by the process: builds tested side by side don't share it.
    const std::string errors =
        ::testing::TempDir() + "orvu-icons-command-line-" + std::to_string(::getpid()) + ".err";
    const std::string command = "env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG " + environment +
                                " '" ORVU_WINDOW "' " + arguments + " 2>'" + errors + "'";
    WindowRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer{};
    while (const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), pipe))
        run.out.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (FILE* file = std::fopen(errors.c_str(), "r")) {
        while (const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file))
            run.err.append(buffer.data(), got);
        std::fclose(file);
    }
    std::remove(errors.c_str());
    return run;
}

TEST(WindowCommandLine, helpVersionAndMistakesInTheLanguageOfTheWindows) {
    struct Row {
        const char* environment;
        const char* arguments;
        int status;
        const char* out; // a line of the standard output
        const char* err; // a line of the standard error
    };
    const Row rows[] = {
        {"LANG=en_US.UTF-8", "--help", 0, "Usage: orvu-icons [options] [PATH]", ""},
        {"LANG=en_US.UTF-8", "-h", 0, "  PATH           A program, icon file or folder to harvest.",
         ""},
        {"LANG=zh_CN.UTF-8", "--help", 0, "用法：orvu-icons [选项] [PATH]", ""},
        {"LANG=C", "--help", 0, "  -v, --version  显示版本。", ""},
        {"LANGUAGE=en LANG=zh_CN.UTF-8", "--help", 0, "  -h, --help     Shows this help.", ""},
        {"LANG=en_US.UTF-8", "--version", 0, "orvu-icons " ORVU_VERSION, ""},
        {"LANG=en_US.UTF-8", "--bogus", 2, "", "orvu-icons: Unknown option \"bogus\"."},
        {"LANG=zh_CN.UTF-8", "a.exe b.exe", 2, "", "orvu-icons：最多只能给出一个 PATH。"},
        {"LANG=zh_CN.UTF-8", "--help=yes", 2, "", "请尝试“orvu-icons --help”。"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.environment) + " orvu-icons " + row.arguments);
        const WindowRun run = runWindow(row.environment, row.arguments);
        EXPECT_EQ(run.status, row.status);
        // Each expected line where one is expected, and nothing otherwise.
        const auto hasLine = [](const std::string& output, const std::string& line) {
            return line.empty() ? output.empty()
                                : ("\n" + output).find("\n" + line + "\n") != std::string::npos;
        };
        EXPECT_TRUE(hasLine(run.out, row.out)) << run.out;
        EXPECT_TRUE(hasLine(run.err, row.err)) << run.err;
    }
}

} // namespace
} // namespace orvu
