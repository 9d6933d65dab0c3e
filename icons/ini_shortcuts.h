#pragma once

#include "icons/byte_source.h"
#include "icons/icon_location.h"
#include "icons/result.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvu {

// The text of an INI file (an Internet shortcut, a folder's desktop.ini) as
// Windows' profile functions read it: UTF-16 after its byte order mark,
// UTF-8 after its own or where the bytes are UTF-8, and Latin-1 otherwise;
// "[section]" lines, "key=value" lines, ";" comments. Names are compared in
// any letter case (ASCII), the first of each counts, values lose the blanks
// around them.
class IniText {
public:
    explicit IniText(ByteView bytes);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;

private:
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };
    std::vector<Entry> m_entries;
};

// The icon an Internet shortcut (.url) names: [InternetShortcut] IconFile
// and IconIndex (0 where it is missing). Nullopt where it names none (the
// browser's icon stands for it).
std::optional<IconLocation> internetShortcutIcon(const IniText& text);

// The icon a folder's desktop.ini names: [.ShellClassInfo] IconResource
// ("file,number"), or IconFile and IconIndex. Nullopt where it names none.
std::optional<IconLocation> folderIcon(const IniText& text);

// The file's text, read whole (at most limits::MaxShortcutBytes).
Result<IniText> readIniText(ByteSource& source);

} // namespace orvu
