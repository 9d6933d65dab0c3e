#include "platform/icon_reference.h"

#include "icons/icon_location.h"
#include "icons/limits.h"
#include "icons/shortcut.h"
#include "platform/file_source.h"
#include "platform/path_text.h"
#include "platform/text_case.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace orvu {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view MunFolder = "SystemResources";
constexpr std::string_view MunExtension = ".mun";
// What a shortcut's first bytes must hold to be told from other files.
constexpr std::uint64_t HeadSize = 76;

// A failure about a file other than the one named at the start.
Failure about(const fs::path& file, Failure failure) {
    failure.detail = displayText(file) + (failure.detail.empty() ? "" : ": " + failure.detail);
    return failure;
}

Failure aboutText(std::string_view text, Failure failure) {
    failure.detail = std::string(text) + (failure.detail.empty() ? "" : ": " + failure.detail);
    return failure;
}

// The file a shortcut's icon path stands for: a file:/// URL as its path
// (%XX decoded); an address on the web can't be followed.
Result<std::string> localPathOf(std::string_view text) {
    if (text.find("://") == std::string_view::npos)
        return std::string(text);
    constexpr std::string_view FileScheme = "file:///";
    if (asciiLower(text.substr(0, FileScheme.size())) != FileScheme)
        return Failure{Failure::Kind::Unresolved, "an address on the web"};
    std::string path;
    const std::string_view encoded = text.substr(FileScheme.size());
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const auto hex = [](char c) {
            return c >= '0' && c <= '9'   ? c - '0'
                   : c >= 'a' && c <= 'f' ? c - 'a' + 10
                   : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                          : -1;
        };
        if (encoded[i] == '%' && i + 2 < encoded.size() && hex(encoded[i + 1]) >= 0 &&
            hex(encoded[i + 2]) >= 0) {
            path += static_cast<char>(hex(encoded[i + 1]) * 16 + hex(encoded[i + 2]));
            i += 2;
        } else {
            path += encoded[i];
        }
    }
    return path;
}

// Follows a reference from file to file, keeping the shortcuts it passed.
class Follower {
public:
    Follower(const WindowsPaths& paths, const PngDecoder* png) : m_paths(paths), m_png(png) {}

    // The icons of the file or folder at `path`. `number` names one of
    // them; `oneIcon` wants one even where it doesn't (a shortcut's target:
    // its first). A shortcut is followed to the icon it shows.
    Result<ReferencedIcons> open(const fs::path& path, std::optional<std::int32_t> number,
                                 bool oneIcon) {
        std::error_code error;
        if (oneIcon && fs::is_directory(path, error))
            return openFolder(path);
        auto source = FileSource::open(path);
        if (!source)
            return source.failure();
        auto head =
            (*source)->read(0, std::min((*source)->size(), HeadSize), HeadSize, "file header");
        if (!head)
            return head.failure();
        const ShortcutKind kind = shortcutKind(textOfPath(path.filename()), ByteView(*head));
        if (kind != ShortcutKind::None) {
            if (number)
                return Failure{Failure::Kind::NoSuchIcon,
                               "a shortcut holds no icons to number; it shows one"};
            return follow(path, kind, **source);
        }
        ReferencedIcons icons{IconLibrary(std::move(*source), m_png), path, path, std::nullopt};
        followMunRedirect(icons, m_paths, m_png);
        if (!number && !oneIcon)
            return icons;
        if (const auto& problem = icons.library.problem())
            return *problem;
        if (number) {
            const auto icon = iconNumbered(icons.library, *number);
            if (!icon)
                return icon.failure();
            icons.icon = *icon;
        } else if (icons.library.count() == 0) {
            return Failure{Failure::Kind::NoSuchIcon, "the file has no icons"};
        } else {
            icons.icon = 0;
        }
        return icons;
    }

private:
    // A folder shows the icon its desktop.ini names.
    Result<ReferencedIcons> openFolder(const fs::path& folder) {
        const auto settings = m_paths.findName(folder, "desktop.ini");
        if (!settings)
            return Failure{Failure::Kind::NoSuchIcon,
                           "a folder without an icon of its own (no desktop.ini)"};
        auto icons = open(*settings, std::nullopt, true);
        if (!icons)
            return about(*settings, icons.failure());
        return icons;
    }

    Result<ReferencedIcons> follow(const fs::path& path, ShortcutKind kind, ByteSource& source) {
        std::error_code error;
        fs::path key = fs::weakly_canonical(path, error);
        if (error)
            key = fs::absolute(path, error).lexically_normal();
        if (std::find(m_followed.begin(), m_followed.end(), key) != m_followed.end())
            return Failure{Failure::Kind::Unresolved, "shortcuts that lead back to it in a loop"};
        if (m_followed.size() >= limits::MaxReferenceDepth)
            return Failure{Failure::Kind::Unresolved,
                           "more than " + std::to_string(limits::MaxReferenceDepth) +
                               " shortcuts one through the next"};
        m_followed.push_back(key);
        const auto shortcut = readShortcut(kind, source);
        if (!shortcut)
            return shortcut.failure();
        const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
        if (!shortcut->iconFiles.empty())
            return firstOf(shortcut->iconFiles, folder, shortcut->number);
        if (!shortcut->targets.empty())
            return firstOf(shortcut->targets, folder, std::nullopt);
        return Failure{Failure::Kind::NoSuchIcon, "a shortcut that names no icon"};
    }

    // The icons of the first of `paths` that is there; where none is, why
    // the first isn't.
    Result<ReferencedIcons> firstOf(const std::vector<std::string>& paths, const fs::path& folder,
                                    std::optional<std::int32_t> number) {
        std::optional<Failure> first;
        for (const std::string& text : paths) {
            const auto path = existing(text, folder);
            if (path) {
                auto icons = open(*path, number, true);
                if (!icons)
                    return about(*path, icons.failure());
                return icons;
            }
            if (!first)
                first = aboutText(text, path.failure());
        }
        return *first;
    }

    // The file or folder a path in a shortcut in `folder` names, where it is there.
    Result<fs::path> existing(const std::string& text, const fs::path& folder) const {
        const auto local = localPathOf(text);
        if (!local)
            return local.failure();
        auto path = m_paths.locate(*local, folder);
        std::error_code error;
        if (path && !fs::exists(*path, error)) {
            const std::error_code missing =
                std::make_error_code(std::errc::no_such_file_or_directory);
            return Failure{Failure::Kind::System, missing.message(), missing.value()};
        }
        return path;
    }

    const WindowsPaths& m_paths;
    const PngDecoder* m_png;
    std::vector<fs::path> m_followed; // the shortcuts passed, to tell a loop
};

// The .mun file of `file`, where there is one.
std::optional<fs::path> munFileOf(const fs::path& file, const WindowsPaths& paths) {
    std::error_code error;
    const fs::path absolute = fs::absolute(file, error);
    if (error)
        return std::nullopt;
    const std::string name = textOfPath(absolute.filename()) + std::string(MunExtension);
    const fs::path folder = absolute.parent_path();
    for (const fs::path& besideOrIn : {folder.parent_path(), folder}) {
        if (const auto resources = paths.findName(besideOrIn, MunFolder))
            if (const auto mun = paths.findName(*resources, name))
                if (fs::is_regular_file(*mun, error))
                    return mun;
    }
    return std::nullopt;
}

} // namespace

Result<ReferencedIcons> openIconReference(std::string_view reference, const WindowsPaths& paths,
                                          const PngDecoder* png) {
    Follower follower(paths, png);
    const fs::path literal = pathOfText(reference);
    std::error_code error;
    if (fs::exists(literal, error))
        return follower.open(literal, std::nullopt, false);
    const auto location = splitIconLocation(reference);
    const std::string_view file = location ? std::string_view(location->file) : reference;
    const auto path = paths.locate(file, std::nullopt);
    if (!path)
        return path.failure();
    auto icons = follower.open(*path, location ? location->number : std::nullopt, false);
    // Where the file was found elsewhere than its name says, say where.
    if (!icons && textOfPath(*path) != file)
        return about(*path, icons.failure());
    return icons;
}

void followMunRedirect(ReferencedIcons& icons, const WindowsPaths& paths, const PngDecoder* png) {
    if (icons.library.problem() || icons.library.count() != 0 || !icons.library.hasMuiResource())
        return;
    const auto mun = munFileOf(icons.source, paths);
    if (!mun)
        return;
    auto source = FileSource::open(*mun);
    if (!source)
        return;
    icons.library = IconLibrary(std::move(*source), png);
    icons.source = *mun;
}

} // namespace orvu
