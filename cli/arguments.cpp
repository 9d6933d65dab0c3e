#include "cli/arguments.h"

#include <algorithm>

namespace orvu::cli {
namespace {

const Option* find(const std::vector<Option>& options, std::string_view name) {
    for (const Option& option : options) {
        if (option.name == name || (!option.shortName.empty() && option.shortName == name))
            return &option;
    }
    return nullptr;
}

} // namespace

Arguments::Arguments(const std::vector<std::string>& arguments,
                     const std::vector<Option>& options) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            m_operands.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        // The option's name, and a value joined to it.
        std::string_view name = argument;
        std::optional<std::string> joined;
        if (argument.starts_with("--")) {
            if (const std::size_t equals = argument.find('='); equals != std::string::npos) {
                name = std::string_view(argument).substr(0, equals);
                joined = argument.substr(equals + 1);
            }
        } else if (argument.size() > 2) {
            name = std::string_view(argument).substr(0, 2);
            joined = argument.substr(2);
        }
        const Option* option = find(options, name);
        if (!option || (joined && !option->takesValue))
            throw UsageError("unknown option '" + argument + "'");
        std::string value;
        if (option->takesValue) {
            if (joined) {
                value = *joined;
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                throw UsageError(std::string(option->name) + " needs a value");
            }
        }
        m_options.emplace_back(option->name, std::move(value));
    }
}

bool Arguments::has(std::string_view name) const {
    return std::any_of(m_options.begin(), m_options.end(),
                       [&](const auto& option) { return option.first == name; });
}

std::optional<std::string> Arguments::value(std::string_view name) const {
    for (auto it = m_options.rbegin(); it != m_options.rend(); ++it) {
        if (it->first == name)
            return it->second;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> Arguments::number(std::string_view name, std::uint64_t least,
                                               std::uint64_t most) const {
    const auto text = value(name);
    if (!text)
        return std::nullopt;
    return parseNumber(*text, least, most, name);
}

std::uint64_t parseNumber(std::string_view text, std::uint64_t least, std::uint64_t most,
                          std::string_view what) {
    std::uint64_t number = 0;
    bool valid = !text.empty() && text.size() <= 19;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            valid = false;
            break;
        }
        number = number * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (!valid || number < least || number > most) {
        throw UsageError(std::string(what) + " takes a whole number from " + std::to_string(least) +
                         " to " + std::to_string(most) + ", not '" + std::string(text) + "'");
    }
    return number;
}

} // namespace orvu::cli
