#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orvu::cli {

// Standard output, every write checked: output that can't be written (a
// full disk, a closed pipe) ends the tool with an error, never a success.
class Output {
public:
    void write(std::string_view text);
    // Hands what was written so far on, for a reader that waits for it.
    void flush();
    // Flushes and closes; false when anything written was lost, error() then says why.
    bool finish();
    int error() const { return m_error; }

private:
    void failed();

    int m_error = 0;
};

// Text as the tool prints it, on standard output and standard error alike,
// so that nothing read from a file or a file name can command the terminal
// or split a line: UTF-8, where each control character (U+0000 to U+001F,
// U+007F to U+009F: a newline, a TAB, an escape) shows as '?' and each byte
// that is not UTF-8 as U+FFFD. Other text passes unchanged.
std::string printable(std::string_view text);
std::string printablePath(const std::filesystem::path& path);

// One line on standard error: the tool's name and the message, printable.
void complain(std::string_view message);

// Whether standard output and standard error go to one terminal, where a
// person reads them as one: what the output says needs no line on standard
// error as well.
bool outputAndErrorsShareATerminal();

} // namespace orvu::cli
