#pragma once

#include "cli/arguments.h"
#include "cli/output.h"

#include <string_view>
#include <vector>

namespace orvu::cli {

// One subcommand of the tool.
struct Command {
    std::string_view name;
    std::string_view summary;    // its line in the tool's help: usage, then what it does
    std::string_view help;       // its own help, usage first
    std::vector<Option> options; // --help comes on top for every command
    // Runs it; returns the exit status. Throws UsageError for a command line
    // it can't obey.
    int (*run)(const Arguments& arguments, Output& out);
    // False for a command whose every argument is an operand (cells).
    bool parsesOptions = true;
};

extern const Command ListCommand;
extern const Command ExtractCommand;
extern const Command ThumbnailCommand;
extern const Command CellsCommand;

// Exit statuses.
inline constexpr int Succeeded = 0;
inline constexpr int SomeInputsFailed = 1;
inline constexpr int UsageFailed = 2;

} // namespace orvu::cli
