#include "cli/output.h"

#include "icons/utf8.h"
#include "platform/path_text.h"
#include "platform/text_case.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#ifdef _WIN32
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

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

std::string printable(std::string_view text) {
    const bool plain =
        std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    if (plain)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : decodeUtf8Lenient(text)) {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
            out += '?';
        else if (c >= 0xDC80 &&
                 c <= 0xDCFF) // a byte that is not UTF-8, as decodeUtf8Lenient keeps it
            appendUtf8(out, 0xFFFD);
        else
            appendUtf8(out, c);
    }
    return out;
}

std::string printablePath(const std::filesystem::path& path) {
    return printable(displayText(path));
}

void complain(std::string_view message) {
    std::string line = "orvu-icons-cli: ";
    line += printable(message);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

bool outputAndErrorsShareATerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stdout)) && _isatty(_fileno(stderr));
#else
    struct stat out {};
    struct stat err {};
    return ::isatty(STDOUT_FILENO) && ::isatty(STDERR_FILENO) &&
           ::fstat(STDOUT_FILENO, &out) == 0 && ::fstat(STDERR_FILENO, &err) == 0 &&
           out.st_rdev == err.st_rdev;
#endif
}

} // namespace orvu::cli
