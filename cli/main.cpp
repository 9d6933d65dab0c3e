// orvu-icons-cli: the icons of Windows programs without a window. This file
// picks the command; each command lives in its own file (commands.h).

#include "cli/command_line.h"
#include "cli/commands.h"

#include <array>
#include <cstring>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <string>

#ifndef ORVU_VERSION
#error "ORVU_VERSION must be defined (cli/CMakeLists.txt)"
#endif

namespace orvu::cli {
namespace {

constexpr std::array<const Command*, 4> Commands{&ListCommand, &ExtractCommand, &ThumbnailCommand,
                                                 &CellsCommand};

constexpr std::string_view Footer = R"(
A folder PATH is walked with its subfolders (a folder's files first, then
its subfolders, each in case-insensitive name order); only the files whose
names match GLOB are read. Files named on the command line are always read.

Exit status: 0 when everything was read and written; 1 when some inputs
failed (each is named on standard error, the others are still processed) or
output could not be written; 2 for a wrong command line.

'orvu-icons-cli COMMAND --help' describes one command; man orvu-icons-cli
describes them all.
)";

std::string toolHelp() {
    std::string text = "usage: orvu-icons-cli COMMAND [OPTION]... ARGUMENT...\n"
                       "       orvu-icons-cli --help | --version\n\n"
                       "Lists, extracts and draws the icons of Windows programs and libraries\n"
                       "(PE and NE) and of .ico files, reading them as Windows does.\n\n"
                       "Commands:\n";
    for (const Command* command : Commands)
        text += "  " + std::string(command->summary) + "\n";
    text += Footer;
    return text;
}

const Command* findCommand(std::string_view name) {
    for (const Command* command : Commands) {
        if (command->name == name)
            return command;
    }
    return nullptr;
}

std::string tryHelp(const Command* command) {
    return command ? "try 'orvu-icons-cli " + std::string(command->name) + " --help'"
                   : std::string("try 'orvu-icons-cli --help'");
}

int run(const std::vector<std::string>& line, Output& out) {
    if (line.size() < 2) {
        complain("a command is needed: list, extract, thumbnail or cells; " + tryHelp(nullptr));
        return UsageFailed;
    }
    const std::string& first = line[1];
    if (first == "--help" || first == "-h" || (first == "help" && line.size() == 2)) {
        out.write(toolHelp());
        return Succeeded;
    }
    if (first == "--version") {
        out.write("orvu-icons-cli " ORVU_VERSION "\n");
        return Succeeded;
    }
    const bool helpWanted = first == "help";
    const std::string& name = helpWanted ? line[2] : first;
    const Command* command = findCommand(name);
    if (!command) {
        complain("unknown command '" + name + "'; " + tryHelp(nullptr));
        return UsageFailed;
    }
    if (helpWanted) {
        out.write(command->help);
        return Succeeded;
    }
    const std::vector<std::string> rest(line.begin() + 2, line.end());
    try {
        if (!command->parsesOptions) {
            if (rest.size() == 1 && rest[0] == "--help") {
                out.write(command->help);
                return Succeeded;
            }
            // After "--" every argument is an operand, one starting with '-' too.
            std::vector<std::string> operands{"--"};
            operands.insert(operands.end(), rest.begin(), rest.end());
            return command->run(Arguments(operands, {}), out);
        }
        std::vector<Option> options = command->options;
        options.push_back({"--help", "-h", false});
        const Arguments arguments(rest, options);
        if (arguments.has("--help")) {
            out.write(command->help);
            return Succeeded;
        }
        return command->run(arguments, out);
    } catch (const UsageError& error) {
        complain(std::string(error.what()) + "; " + tryHelp(command));
        return UsageFailed;
    }
}

} // namespace
} // namespace orvu::cli

int main(int argc, char** argv) {
#if defined(__GLIBC__)
    // Reading a tree allocates and frees a few kilobytes per file; growing
    // the heap in large steps spares a system call every few files.
    mallopt(M_TOP_PAD, 4 << 20);
#endif
    using namespace orvu::cli;
    Output out;
    const int status = run(commandLine(argc, argv), out);
    if (!out.finish()) {
        complain(std::string("cannot write the output: ") + std::strerror(out.error()));
        return SomeInputsFailed;
    }
    return status;
}
