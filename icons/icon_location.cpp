#include "icons/icon_location.h"

#include <limits>

namespace orvu {
namespace {

constexpr std::string_view Blanks = " \t";

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

} // namespace

std::optional<std::int32_t> parseIconNumber(std::string_view text) {
    text = trimmed(text);
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<IconLocation> splitIconLocation(std::string_view text) {
    const std::size_t comma = text.rfind(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    const auto number = parseIconNumber(text.substr(comma + 1));
    const std::string file = unquoted(text.substr(0, comma));
    if (!number || file.empty())
        return std::nullopt;
    return IconLocation{file, number};
}

std::string unquoted(std::string_view text) {
    text = trimmed(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = trimmed(text.substr(1, text.size() - 2));
    return std::string(text);
}

Result<std::string> expandVariables(std::string_view text, const VariableLookup& lookup) {
    std::string expanded;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('%', at);
        const std::size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
        if (close == std::string_view::npos) {
            expanded += text.substr(at);
            break;
        }
        expanded += text.substr(at, open - at);
        const std::string_view name = text.substr(open + 1, close - open - 1);
        if (name.empty()) {
            expanded += "%%";
        } else if (const auto value = lookup(name)) {
            expanded += *value;
        } else {
            return Failure{Failure::Kind::Unresolved,
                           "unknown environment variable %" + std::string(name) + "%"};
        }
        at = close + 1;
    }
    return expanded;
}

Result<std::uint32_t> iconNumbered(IconLibrary& library, std::int32_t number) {
    const std::uint32_t count = library.count();
    if (number >= 0) {
        if (static_cast<std::uint32_t>(number) < count)
            return static_cast<std::uint32_t>(number);
        return Failure{Failure::Kind::NoSuchIcon, "no icon at index " + std::to_string(number) +
                                                      " (from 0) of " + std::to_string(count)};
    }
    const std::int64_t id = -std::int64_t{number};
    for (std::uint32_t k = 0; k < count && id <= 0xFFFF; ++k) {
        const auto name = library.name({GroupKind::Icon, k});
        if (name && name->id == id)
            return k;
    }
    return Failure{Failure::Kind::NoSuchIcon, "no icon with resource id " + std::to_string(id)};
}

} // namespace orvu
