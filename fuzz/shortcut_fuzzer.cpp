// The readers of the files that name an icon kept elsewhere: the input as a
// shell link (.lnk), as an Internet shortcut (.url) and as a desktop.ini,
// and as the text of an icon location with its variables expanded. Every
// text they give back must be UTF-8, so that no stray byte reaches a path.

#include "icons/icon_location.h"
#include "icons/shortcut.h"
#include "icons/utf8.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void checkText(const std::string& text) {
    if (!orvu::isUtf8(text))
        __builtin_trap();
}

void checkIcon(const orvu::Result<orvu::ShortcutIcon>& icon) {
    if (!icon)
        return;
    for (const std::string& file : icon->iconFiles)
        checkText(file);
    for (const std::string& target : icon->targets)
        checkText(target);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvu;
    const std::vector<std::uint8_t> bytes(data, data + size);
    for (const ShortcutKind kind :
         {ShortcutKind::ShellLink, ShortcutKind::InternetShortcut, ShortcutKind::FolderSettings}) {
        MemorySource source(bytes);
        checkIcon(readShortcut(kind, source));
    }
    // The bytes as a reference's text: split, then expanded by a lookup whose
    // values hold % signs of their own (expansion must not go round).
    const std::string text(bytes.begin(), bytes.end());
    const auto location = splitIconLocation(text);
    const auto expanded = expandVariables(
        location ? location->file : text,
        [](std::string_view name) -> std::optional<std::string> {
            if (name.size() % 2 == 0)
                return std::nullopt;
            return "%" + std::string(name) + "%" + std::string(name);
        });
    if (expanded && expanded->size() > 2 * text.size() * (text.size() + 2) + 16)
        __builtin_trap();
    return 0;
}
