#include "app/start_path.h"

#include <string_view>
#include <system_error>

namespace orvu {

std::filesystem::path startPath(int argc, char** argv) {
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (options && argument == "--") {
            options = false;
            continue;
        }
        if (options && argument.size() > 1 && argument.front() == '-')
            continue;
        const std::filesystem::path path{std::string(argument)};
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(path, error);
        return error ? path : absolute;
    }
    return {};
}

} // namespace orvu
