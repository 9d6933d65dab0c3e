#include "cli/icon_set.h"

#include "cli/command_line.h"
#include "export/icon_theme.h"
#include "platform/atomic_file.h"
#include "platform/path_text.h"

#include <system_error>

namespace orvu::cli {

namespace fs = std::filesystem;

bool IconSetWriter::write(Input& input, std::uint32_t k, Output& out) {
    const std::string path = displayText(input.path);
    const std::string which = "icon " + std::to_string(std::uint64_t{k} + 1);
    const fs::path named = m_name ? pathFromArgument(*m_name) : input.path.stem();
    const std::string name = displayText(named);
    if (!isThemeIconName(name)) {
        complain(path + ": '" + name + "' can't name an icon in a theme (give --name)");
        return false;
    }
    if (!m_written.insert(name).second) {
        complain(path + ": the icon set '" + name + "' was written from another file already");
        return false;
    }
    const auto pictures = themePictures(*input.library, k);
    if (!pictures) {
        complain(path + ": " + which + ": " + describe(pictures.failure()));
        return false;
    }
    if (!m_replace) {
        for (const ThemePicture& picture : *pictures) {
            const fs::path target = themePicturePath(m_root, picture.size, named);
            std::error_code error;
            if (fs::symlink_status(target, error).type() != fs::file_type::not_found) {
                complain("cannot write " + displayText(target) +
                         ": it is there already (--force replaces it)");
                return false;
            }
        }
    }
    for (const ThemePicture& picture : *pictures) {
        const fs::path target = themePicturePath(m_root, picture.size, named);
        std::error_code error;
        fs::create_directories(target.parent_path(), error);
        const Result<void> written =
            error ? Result<void>(Failure{Failure::Kind::System, error.message(), error.value()})
            : m_replace ? replaceFileAtomically(target, picture.png, Links::ReplaceTheLink)
                        : createFileAtomically(target, picture.png);
        if (!written) {
            complain("cannot write " + displayText(target) + ": " + describe(written.failure()));
            return false;
        }
        out.write(printablePath(target) + "\n");
    }
    out.write("Icon=" + printable(name) + "\n");
    return true;
}

} // namespace orvu::cli
