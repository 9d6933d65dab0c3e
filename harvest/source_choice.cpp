#include "harvest/source_choice.h"

#include "platform/system_failure.h"

namespace orvu {

Result<SourceChoice> chooseSource(const std::vector<std::filesystem::path>& paths) {
    if (paths.size() != 1)
        return Failure{Failure::Kind::NoSuchIcon, std::to_string(paths.size()) + " items"};
    std::error_code error;
    const auto status = std::filesystem::status(paths[0], error);
    if (error)
        return systemFailure(error);
    if (std::filesystem::is_directory(status))
        return SourceChoice{SourceChoice::Mode::Folder, paths[0]};
    if (!std::filesystem::exists(status))
        return Failure{Failure::Kind::NotAFile, {}};
    return SourceChoice{SourceChoice::Mode::File, paths[0]};
}

} // namespace orvu
