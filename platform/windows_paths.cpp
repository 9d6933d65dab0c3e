#include "platform/windows_paths.h"

#include "icons/icon_location.h"
#include "platform/file_names.h"
#include "platform/text_case.h"

#ifdef _WIN32
#include "platform/windows_api.h"

#include <vector>
#endif

#include <system_error>

namespace orvu {
namespace fs = std::filesystem;

namespace {

// The environment of a Windows installation, as its drive C: holds it.
struct Variable {
    std::string_view name;
    std::string_view value;
};
constexpr Variable RootVariables[] = {
    {"SystemDrive", "C:"},
    {"SystemRoot", "C:\\Windows"},
    {"windir", "C:\\Windows"},
    {"ProgramFiles", "C:\\Program Files"},
    {"ProgramFiles(x86)", "C:\\Program Files (x86)"},
    {"ProgramW6432", "C:\\Program Files"},
    {"CommonProgramFiles", "C:\\Program Files\\Common Files"},
    {"CommonProgramFiles(x86)", "C:\\Program Files (x86)\\Common Files"},
    {"CommonProgramW6432", "C:\\Program Files\\Common Files"},
    {"ProgramData", "C:\\ProgramData"},
    {"ALLUSERSPROFILE", "C:\\ProgramData"},
    {"PUBLIC", "C:\\Users\\Public"},
};

constexpr char RootDrive = 'C';

bool sameLetters(std::string_view a, std::string_view b) {
    return asciiLower(a) == asciiLower(b);
}

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

Failure unresolved(const std::string& why) {
    return {Failure::Kind::Unresolved, why};
}

Failure notThere() {
    const std::error_code missing = std::make_error_code(std::errc::no_such_file_or_directory);
    return {Failure::Kind::System, missing.message(), missing.value()};
}

constexpr const char* NoRoot = "a Windows path, and no Windows root to find it in";

} // namespace

fs::path pathOfText(std::string_view text) {
#ifdef _WIN32
    return fs::path(std::u8string(text.begin(), text.end()));
#else
    return fs::path(std::string(text));
#endif
}

std::string textOfPath(const fs::path& path) {
#ifdef _WIN32
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
#else
    return path.native();
#endif
}

bool WindowsPaths::isWindowsPath(std::string_view text) {
    const bool drive = text.size() >= 2 && text[1] == ':' &&
                       ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
    return drive || (!text.empty() && text[0] == '\\');
}

std::optional<std::string> WindowsPaths::variable(std::string_view name) const {
    if (m_root) {
        for (const Variable& variable : RootVariables)
            if (sameLetters(variable.name, name))
                return std::string(variable.value);
        return std::nullopt;
    }
#ifdef _WIN32
    const std::wstring wide = pathOfText(name).wstring();
    std::vector<wchar_t> value(256);
    for (;;) {
        const DWORD length =
            GetEnvironmentVariableW(wide.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0)
            return std::nullopt;
        if (length < value.size()) {
            const std::u8string utf8 = fs::path(std::wstring(value.data(), length)).u8string();
            return std::string(utf8.begin(), utf8.end());
        }
        value.resize(length);
    }
#else
    return std::nullopt;
#endif
}

Result<fs::path> WindowsPaths::locate(std::string_view text,
                                      const std::optional<fs::path>& folder) const {
    const auto expanded =
        expandVariables(text, [this](std::string_view name) { return variable(name); });
#ifndef _WIN32
    if (!expanded && !m_root)
        return unresolved(NoRoot);
#endif
    if (!expanded)
        return expanded.failure();
    std::string_view path = *expanded;
    if (!isWindowsPath(path)) {
        if (!folder)
            return pathOfText(path);
        if (!path.empty() && path.front() == '/')
            return walk("/", path, std::nullopt);
        return walk(*folder, path, std::nullopt);
    }
    if (!m_root) {
#ifdef _WIN32
        return pathOfText(path);
#else
        return unresolved(NoRoot);
#endif
    }
    // \\?\C:\… is C:\… without Windows' length limit; \\server\share and
    // \\?\UNC\server\share are on the network.
    if (path.starts_with("\\\\?\\") || path.starts_with("\\\\.\\"))
        path.remove_prefix(4);
    if (path.starts_with("\\\\") || path.starts_with("UNC\\"))
        return unresolved("a network path, not under the Windows root");
    if (path.size() >= 2 && path[1] == ':') {
        const char drive = static_cast<char>(path[0] & ~0x20);
        if (drive != RootDrive)
            return unresolved(std::string("drive ") + drive +
                              ": is not the Windows root's drive (C:)");
        path.remove_prefix(2);
    }
    return walk(*m_root, path, m_root);
}

Result<fs::path> WindowsPaths::walk(const fs::path& start, std::string_view names,
                                    const std::optional<fs::path>& floor) const {
    fs::path current = start;
    std::size_t depth = 0; // names below `start`
    std::size_t at = 0;
    while (at <= names.size()) {
        std::size_t end = at;
        while (end < names.size() && !isSeparator(names[end]))
            ++end;
        std::string_view name = names.substr(at, end - at);
        at = end + 1;
        if (name == "..") {
            // As Windows takes it: the folder above, by the names (links
            // aside), never above the floor.
            if (depth > 0 || (!floor && current.has_filename() && current.filename() != ".." &&
                              current.filename() != ".")) {
                current = current.parent_path();
                depth -= depth > 0 ? 1 : 0;
            } else if (!floor) {
                current /= "..";
            }
            continue;
        }
        // Windows drops dots and blanks at a name's end ("app.exe." is app.exe).
        while (!name.empty() && name != "." && (name.back() == '.' || name.back() == ' '))
            name.remove_suffix(1);
        if (name.empty() || name == ".")
            continue;
        const auto found = findName(current, name);
        if (!found)
            return notThere();
        current = *found;
        ++depth;
    }
    return current;
}

std::optional<fs::path> WindowsPaths::findName(const fs::path& folder,
                                               std::string_view name) const {
    const fs::path exact = folder / pathOfText(name);
    std::error_code error;
    if (fs::exists(fs::symlink_status(exact, error)))
        return exact;
    auto listing = m_listings.find(folder);
    if (listing == m_listings.end()) {
        std::map<std::string, std::string> keys;
        if (const auto names = namesIn(folder.empty() ? fs::path(".") : folder)) {
            for (const std::string& each : *names) {
                auto [entry, added] = keys.try_emplace(caseInsensitiveKey(each), each);
                if (!added && each < entry->second)
                    entry->second = each; // the same name every time, whatever the listing's order
            }
        }
        listing = m_listings.emplace(folder, std::move(keys)).first;
    }
    const auto match = listing->second.find(caseInsensitiveKey(name));
    if (match == listing->second.end())
        return std::nullopt;
    return folder / pathOfText(match->second);
}

} // namespace orvu
