#include "cli/command_line.h"

#ifdef _WIN32
#include "platform/windows_api.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#endif

namespace orvu::cli {

#ifdef _WIN32

namespace {

std::string utf8FromWide(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), length, nullptr, nullptr);
    out.pop_back(); // the terminating zero
    return out;
}

} // namespace

std::vector<std::string> commandLine(int argc, char** argv) {
    std::vector<std::string> result;
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            result.push_back(utf8FromWide(wide[i]));
        LocalFree(wide);
    } else {
        result.assign(argv, argv + argc);
    }
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    return result;
}

std::filesystem::path pathFromArgument(const std::string& argument) {
    return std::filesystem::path(std::u8string(argument.begin(), argument.end()));
}

#else

std::vector<std::string> commandLine(int argc, char** argv) {
    return {argv, argv + argc};
}

std::filesystem::path pathFromArgument(const std::string& argument) {
    return std::filesystem::path(argument);
}

#endif

} // namespace orvu::cli
