#pragma once

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

// One line on standard error: the tool's name and the message.
void complain(std::string_view message);

} // namespace orvu::cli
