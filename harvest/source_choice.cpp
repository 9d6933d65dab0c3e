#include "harvest/source_choice.h"

#include "platform/system_failure.h"

#include <array>
#include <string>

namespace orvu {
namespace {

// Unicode's white space, as a text's ends are trimmed of it.
constexpr std::array<char32_t, 25> Blanks{0x09,   0x0A,   0x0B,   0x0C,   0x0D,   0x20,   0x85,
                                          0xA0,   0x1680, 0x2000, 0x2001, 0x2002, 0x2003, 0x2004,
                                          0x2005, 0x2006, 0x2007, 0x2008, 0x2009, 0x200A, 0x2028,
                                          0x2029, 0x202F, 0x205F, 0x3000};

// The length of the blank that `text` starts (atEnd: ends) with, 0 for none.
template <typename Char> std::size_t blankAt(const std::basic_string<Char>& text, bool atEnd) {
    for (const char32_t blank : Blanks) {
        std::basic_string<Char> encoded;
        if constexpr (sizeof(Char) == 1) {
            // UTF-8: the names of the file system, which are bytes.
            if (blank < 0x80) {
                encoded = {static_cast<Char>(blank)};
            } else if (blank < 0x800) {
                encoded = {static_cast<Char>(0xC0 | (blank >> 6)),
                           static_cast<Char>(0x80 | (blank & 0x3F))};
            } else {
                encoded = {static_cast<Char>(0xE0 | (blank >> 12)),
                           static_cast<Char>(0x80 | ((blank >> 6) & 0x3F)),
                           static_cast<Char>(0x80 | (blank & 0x3F))};
            }
        } else {
            encoded = {static_cast<Char>(blank)};
        }
        if (atEnd ? text.ends_with(encoded) : text.starts_with(encoded))
            return encoded.size();
    }
    return 0;
}

} // namespace

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

std::filesystem::path trimBlanks(const std::filesystem::path& path) {
    std::filesystem::path::string_type text = path.native();
    while (const std::size_t blank = blankAt(text, true))
        text.resize(text.size() - blank);
    while (const std::size_t blank = blankAt(text, false))
        text.erase(0, blank);
    return text;
}

} // namespace orvu
