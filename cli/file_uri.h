#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvu::cli {

// The local path a file:// URI names, its %XX escapes decoded, as the bytes
// of the path (UTF-8 on Windows, where file:///C:/x gives C:/x). Nullopt for
// a URI of another host than "" or "localhost", or with a broken escape.
std::optional<std::string> pathOfFileUri(std::string_view uri);

// Whether the text is a file:// URI (the scheme in any letter case).
bool isFileUri(std::string_view text);

} // namespace orvu::cli
