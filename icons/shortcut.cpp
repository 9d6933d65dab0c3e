#include "icons/shortcut.h"

#include "icons/ini_shortcuts.h"
#include "icons/shell_link.h"

namespace orvu {
namespace {

bool endsWithCaseless(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size())
        return false;
    text.remove_prefix(text.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i])
            return false;
    }
    return true;
}

ShortcutIcon fromLocation(const std::optional<IconLocation>& location) {
    ShortcutIcon icon;
    if (location) {
        icon.iconFiles.push_back(location->file);
        icon.number = location->number.value_or(0);
    }
    return icon;
}

} // namespace

ShortcutKind shortcutKind(std::string_view fileName, ByteView head) {
    if (isShellLinkHeader(head))
        return ShortcutKind::ShellLink;
    if (endsWithCaseless(fileName, ".url"))
        return ShortcutKind::InternetShortcut;
    if (fileName.size() == 11 && endsWithCaseless(fileName, "desktop.ini"))
        return ShortcutKind::FolderSettings;
    return ShortcutKind::None;
}

Result<ShortcutIcon> readShortcut(ShortcutKind kind, ByteSource& source) {
    if (kind == ShortcutKind::ShellLink) {
        const auto link = readShellLink(source);
        if (!link)
            return link.failure();
        ShortcutIcon icon;
        icon.iconFiles = link->iconFiles();
        icon.number = link->iconIndex;
        // Without an icon file the shell shows the target's own icon, whatever
        // the header's IconIndex says.
        if (icon.iconFiles.empty())
            icon.targets = link->targets();
        return icon;
    }
    if (kind == ShortcutKind::None)
        return Failure{Failure::Kind::NotIconFile, "not a shortcut"};
    const auto text = readIniText(source);
    if (!text)
        return text.failure();
    return fromLocation(kind == ShortcutKind::InternetShortcut ? internetShortcutIcon(*text)
                                                               : folderIcon(*text));
}

} // namespace orvu
