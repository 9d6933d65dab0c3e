#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvu::cli {

// A command line that can't be obeyed. The tool says why in one line and
// exits with status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One option a command accepts.
struct Option {
    std::string_view name;      // "--pattern"
    std::string_view shortName; // "-o", or empty
    bool takesValue = false;
};

// A command's arguments split into options and operands. Options may come
// anywhere among the operands, and "--" ends them. A value follows its option
// as the next argument, or is joined to it: "--size=48", "-s48". Of an
// option given twice, the later one counts. A lone "-" is an operand.
class Arguments {
public:
    // Throws UsageError for an option the table lacks or a value missing.
    Arguments(const std::vector<std::string>& arguments, const std::vector<Option>& options);

    bool has(std::string_view name) const;
    std::optional<std::string> value(std::string_view name) const;
    // The option's value as a whole number from `least` to `most`; throws
    // UsageError for anything else.
    std::optional<std::uint64_t> number(std::string_view name, std::uint64_t least,
                                        std::uint64_t most) const;
    const std::vector<std::string>& operands() const { return m_operands; }

private:
    std::vector<std::pair<std::string_view, std::string>> m_options; // name, value
    std::vector<std::string> m_operands;
};

// `text` as a whole number from `least` to `most` (decimal digits only);
// throws UsageError naming `what` otherwise.
std::uint64_t parseNumber(std::string_view text, std::uint64_t least, std::uint64_t most,
                          std::string_view what);

} // namespace orvu::cli
