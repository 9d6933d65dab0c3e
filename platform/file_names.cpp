#include "platform/file_names.h"

#include "platform/system_failure.h"

#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace orvu {
namespace fs = std::filesystem;

namespace {

// Where POSIX doesn't say, and on Windows.
constexpr std::size_t UsualLongestName = 255;

} // namespace

std::size_t longestNameIn([[maybe_unused]] const fs::path& folder) {
#ifdef _WIN32
    return UsualLongestName;
#else
    const long longest = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<std::size_t>(longest) : UsualLongestName;
#endif
}

std::size_t nameLength(const fs::path& name) {
    return name.native().size();
}

fs::path cutName(const fs::path& name, std::size_t length) {
    const fs::path::string_type& text = name.native();
    if (text.size() <= length)
        return name;
    std::size_t end = length;
#ifdef _WIN32
    // Not between the two halves of a surrogate pair.
    if (end > 0 && text[end] >= 0xDC00 && text[end] <= 0xDFFF && text[end - 1] >= 0xD800 &&
        text[end - 1] <= 0xDBFF)
        --end;
#else
    // Back over the continuation bytes of a UTF-8 sequence (at most three)
    // to the byte that begins it; bytes of a name that is no UTF-8 stand
    // each for itself.
    std::size_t back = 0;
    while (end > 0 && back < 3 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
        ++back;
    }
    if ((static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        end = length; // no sequence begins there: loose bytes
#endif
    return fs::path(text.substr(0, end));
}

Result<std::vector<std::string>> namesIn(const fs::path& folder) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error)
        return systemFailure(error);
    std::vector<std::string> names;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error)
            break;
#ifdef _WIN32
        const std::u8string name = it->path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
#else
        names.push_back(it->path().filename().native());
#endif
    }
    if (error)
        return systemFailure(error);
    return names;
}

} // namespace orvu
