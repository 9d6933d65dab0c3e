#include "icons/ini_shortcuts.h"

#include "icons/limits.h"
#include "icons/utf8.h"

#include <array>

namespace orvu {
namespace {

constexpr std::array<std::uint8_t, 2> Utf16Mark = {0xFF, 0xFE};
constexpr std::array<std::uint8_t, 3> Utf8Mark = {0xEF, 0xBB, 0xBF};
constexpr std::string_view Blanks = " \t\r";

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

std::string lowered(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string decoded(ByteView bytes) {
    if (bytes.startsWith(Utf16Mark))
        return utf16ToUtf8(*bytes.sub(Utf16Mark.size(), bytes.size() - Utf16Mark.size()));
    if (bytes.startsWith(Utf8Mark))
        bytes = *bytes.sub(Utf8Mark.size(), bytes.size() - Utf8Mark.size());
    const std::string_view text(reinterpret_cast<const char*>(bytes.bytes().data()), bytes.size());
    return isUtf8(text) ? std::string(text) : latin1ToUtf8(bytes);
}

// A whole number as IconIndex holds it; 0 where it holds none.
std::int32_t indexValue(const std::optional<std::string>& text) {
    if (!text)
        return 0;
    return parseIconNumber(*text).value_or(0);
}

} // namespace

IniText::IniText(ByteView bytes) {
    const std::string text = decoded(bytes);
    std::string section;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line = trimmed(std::string_view(text).substr(at, end - at));
        at = end + 1;
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            section = lowered(trimmed(line.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        m_entries.push_back({section, lowered(trimmed(line.substr(0, equals))),
                             std::string(trimmed(line.substr(equals + 1)))});
    }
}

std::optional<std::string> IniText::value(std::string_view section, std::string_view key) const {
    const std::string wantedSection = lowered(section);
    const std::string wantedKey = lowered(key);
    for (const Entry& entry : m_entries)
        if (entry.section == wantedSection && entry.key == wantedKey)
            return entry.value;
    return std::nullopt;
}

std::optional<IconLocation> internetShortcutIcon(const IniText& text) {
    const auto file = text.value("InternetShortcut", "IconFile");
    if (!file || unquoted(*file).empty())
        return std::nullopt;
    return IconLocation{unquoted(*file), indexValue(text.value("InternetShortcut", "IconIndex"))};
}

std::optional<IconLocation> folderIcon(const IniText& text) {
    if (const auto resource = text.value(".ShellClassInfo", "IconResource")) {
        if (auto location = splitIconLocation(*resource))
            return location;
        if (!unquoted(*resource).empty())
            return IconLocation{unquoted(*resource), 0};
    }
    const auto file = text.value(".ShellClassInfo", "IconFile");
    if (!file || unquoted(*file).empty())
        return std::nullopt;
    return IconLocation{unquoted(*file), indexValue(text.value(".ShellClassInfo", "IconIndex"))};
}

Result<IniText> readIniText(ByteSource& source) {
    auto bytes = source.read(0, source.size(), limits::MaxShortcutBytes, "settings text");
    if (!bytes)
        return bytes.failure();
    return IniText(ByteView(*bytes));
}

} // namespace orvu
