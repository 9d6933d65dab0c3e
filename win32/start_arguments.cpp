#include "win32/start_arguments.h"

#include "platform/windows_api.h"

#include <shellapi.h>
#include <string>
#include <system_error>

namespace orvu::win32 {

std::filesystem::path startPath(std::wstring_view commandLine) {
    const std::wstring line(commandLine);
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(line.c_str(), &count);
    if (!arguments)
        return {};
    std::filesystem::path path;
    bool options = true;
    for (int i = 1; i < count && path.empty(); ++i) {
        const std::wstring_view argument = arguments[i];
        if (options && argument == L"--") {
            options = false;
            continue;
        }
        if (options && argument.size() > 1 && argument.front() == L'-')
            continue;
        path = std::filesystem::path(std::wstring(argument));
    }
    LocalFree(arguments);
    if (path.empty())
        return {};
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute;
}

} // namespace orvu::win32
