#include "cli/file_uri.h"

#include "platform/text_case.h"

namespace orvu::cli {
namespace {

constexpr std::string_view Scheme = "file://";

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool isFileUri(std::string_view text) {
    return asciiLower(text.substr(0, Scheme.size())) == Scheme;
}

std::optional<std::string> pathOfFileUri(std::string_view uri) {
    if (!isFileUri(uri))
        return std::nullopt;
    std::string_view rest = uri.substr(Scheme.size());
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    const std::string_view host = rest.substr(0, slash);
    if (!host.empty() && host != "localhost")
        return std::nullopt;
    std::string_view encoded = rest.substr(slash);
    // A query or fragment is no part of the file's name.
    encoded = encoded.substr(0, encoded.find_first_of("?#"));
    std::string path;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            path += encoded[i];
            continue;
        }
        const int high = i + 2 < encoded.size() ? hexValue(encoded[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(encoded[i + 2]) : -1;
        if (low < 0)
            return std::nullopt;
        path += static_cast<char>(high * 16 + low);
        i += 2;
    }
    if (path.find('\0') != std::string::npos)
        return std::nullopt;
#ifdef _WIN32
    // "/C:/x" names C:/x.
    if (path.size() >= 3 && path[0] == '/' && path[2] == ':')
        path.erase(0, 1);
#endif
    return path;
}

} // namespace orvu::cli
