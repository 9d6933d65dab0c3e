#include "harvest/source_choice.h"

#include "platform/system_failure.h"

namespace orvu {

Result<SourceChoice> chooseSource(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error)
        return systemFailure(error);
    if (std::filesystem::is_directory(status))
        return SourceChoice{SourceChoice::Mode::Folder, path};
    if (!std::filesystem::exists(status))
        return Failure{Failure::Kind::NotAFile, {}};
    return SourceChoice{SourceChoice::Mode::File, path};
}

} // namespace orvu
