#include "export/save_format.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace orvu {

std::optional<SaveFormat> formatOfName(const std::filesystem::path& name) {
    std::string extension = name.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const SaveFormat format : {SaveFormat::Ico, SaveFormat::Png, SaveFormat::Bmp}) {
        if (extension == extensionOf(format))
            return format;
    }
    return std::nullopt;
}

const char* extensionOf(SaveFormat format) {
    switch (format) {
    case SaveFormat::Ico:
        return ".ico";
    case SaveFormat::Png:
        return ".png";
    case SaveFormat::Bmp:
        return ".bmp";
    }
    return "";
}

SaveTarget saveTarget(const std::filesystem::path& chosen, SaveFormat chosenFormat) {
    if (const auto named = formatOfName(chosen))
        return {chosen, *named};
    std::filesystem::path path = chosen;
    path += extensionOf(chosenFormat);
    return {path, chosenFormat};
}

} // namespace orvu
