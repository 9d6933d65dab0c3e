#pragma once

#include "icons/icon_library.h"
#include "icons/result.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvu {

// An icon as Windows names it outside the file that holds it (in a
// shortcut, a folder's desktop.ini, the registry, on a command line): a
// file, and after a comma the icon's number: "shell32.dll,-16",
// "%SystemRoot%\System32\imageres.dll,3".
struct IconLocation {
    std::string file; // as written, in UTF-8: may hold %VARIABLES% and be a Windows path
    // The number as Windows' icon functions take it: N >= 0 is the icon at
    // index N (counted from 0, as ExtractIconEx counts), -ID the icon group
    // whose resource id is ID (so -1 is id 1, not a count). None: the file
    // as a whole, or where one icon is wanted, its first.
    std::optional<std::int32_t> number;

    friend bool operator==(const IconLocation&, const IconLocation&) = default;
};

// `text` split at its last comma into a file and the number after it
// (blanks around the number allowed, a 32-bit value). Nullopt where no
// number follows the last comma, or nothing comes before it.
std::optional<IconLocation> splitIconLocation(std::string_view text);

// A whole 32-bit number, "-16" or "3", with blanks around it at most.
std::optional<std::int32_t> parseIconNumber(std::string_view text);

// A file's name as shortcuts, desktop.ini and command lines write it:
// without the blanks around it and the double quotes around those.
std::string unquoted(std::string_view text);

// Looks an environment variable up by name; nullopt where it has none.
using VariableLookup = std::function<std::optional<std::string>(std::string_view name)>;

// `text` with each %NAME% replaced by its value, in one pass as Windows'
// ExpandEnvironmentStrings does: a value's own % signs are kept, not
// expanded again, so variables that name each other can't loop. A % without
// a closing one, and %%, stay as they are. Fails (Unresolved) for a name
// that `lookup` doesn't know.
Result<std::string> expandVariables(std::string_view text, const VariableLookup& lookup);

// The index (from 0, among the file's icons) of the icon that `number`
// names: N >= 0 the icon at index N, -ID the first icon group with resource
// id ID. Fails (NoSuchIcon) where the file has no such icon.
Result<std::uint32_t> iconNumbered(IconLibrary& library, std::int32_t number);

} // namespace orvu
