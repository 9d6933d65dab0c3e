#include "export/save_format.h"

#include "platform/text_case.h"

#include <string>

namespace orvu {

std::optional<SaveFormat> formatOfName(const std::filesystem::path& name) {
    const std::u8string utf8 = name.extension().u8string();
    const std::string extension = asciiLower(std::string(utf8.begin(), utf8.end()));
    for (const SaveFormat format :
         {SaveFormat::Ico, SaveFormat::Png, SaveFormat::Bmp, SaveFormat::Cur, SaveFormat::Ani}) {
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
    case SaveFormat::Cur:
        return ".cur";
    case SaveFormat::Ani:
        return ".ani";
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
