#include "harvest/shortcut_source.h"

#include "icons/shortcut.h"
#include "platform/file_source.h"
#include "platform/text_case.h"

#include <algorithm>
#include <system_error>

namespace orvu {
namespace fs = std::filesystem;

namespace {

// What a shortcut's first bytes must hold to be told from other files.
constexpr std::uint64_t HeadSize = 76;

} // namespace

std::optional<fs::path> windowsDriveAbove(const fs::path& file) {
    std::error_code error;
    const fs::path absolute = fs::absolute(file, error);
    if (error)
        return std::nullopt;
    const WindowsPaths names;
    for (fs::path folder = absolute.parent_path(); !folder.empty(); folder = folder.parent_path()) {
        if (asciiLower(textOfPath(folder.filename())) == "drive_c")
            return folder;
        if (const auto windows = names.findName(folder, "Windows"))
            if (const auto system = names.findName(*windows, "System32"))
                if (fs::is_directory(*system, error))
                    return folder;
        if (folder == folder.parent_path())
            break;
    }
    return std::nullopt;
}

std::optional<Result<ReferencedIcons>> followShortcut(const fs::path& file, const PngDecoder* png) {
    auto source = FileSource::open(file);
    if (!source)
        return std::nullopt;
    const auto head =
        (*source)->read(0, std::min((*source)->size(), HeadSize), HeadSize, "file header");
    if (!head || shortcutKind(textOfPath(file.filename()), ByteView(*head)) == ShortcutKind::None)
        return std::nullopt;
#ifdef _WIN32
    const WindowsPaths paths;
#else
    const WindowsPaths paths(windowsDriveAbove(file));
#endif
    return openIconReference(textOfPath(file), paths, png);
}

} // namespace orvu
