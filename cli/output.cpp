#include "cli/output.h"

#include <cerrno>
#include <cstdio>
#include <string>

namespace orvu::cli {

void Output::write(std::string_view text) {
    if (m_error == 0 && std::fwrite(text.data(), 1, text.size(), stdout) != text.size())
        failed();
}

void Output::flush() {
    if (m_error == 0 && std::fflush(stdout) != 0)
        failed();
}

bool Output::finish() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        failed();
    if (std::fclose(stdout) != 0)
        failed();
    return m_error == 0;
}

void Output::failed() {
    if (m_error == 0)
        m_error = errno != 0 ? errno : EIO;
}

void complain(std::string_view message) {
    std::string line = "orvu-icons-cli: ";
    line += message;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

} // namespace orvu::cli
