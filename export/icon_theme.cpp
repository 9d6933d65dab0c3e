#include "export/icon_theme.h"

#include "png/png_encoder.h"

#include <algorithm>

namespace orvu {

Result<std::vector<ThemePicture>> themePictures(IconLibrary& library, std::uint32_t k) {
    const auto description = library.describe({GroupKind::Icon, k});
    if (!description)
        return description.failure();
    int largest = 0;
    for (const ImageDescription& image : description->images) {
        if (image.format != ImageFormat::Missing)
            largest = std::max({largest, image.width, image.height});
    }
    if (largest == 0)
        return Failure{Failure::Kind::NoSuchIcon, "the file holds none of the icon's images"};
    std::vector<ThemePicture> pictures;
    for (const int size : ThemeSizes) {
        if (size > largest)
            break;
        auto shown = library.iconAt(k, size);
        if (!shown)
            return shown.failure();
        auto png = encodePng(withAlphaChannel(std::move(*shown)));
        if (!png)
            return png.failure();
        pictures.push_back({size, std::move(*png)});
    }
    return pictures;
}

std::filesystem::path themePicturePath(const std::filesystem::path& root, int size,
                                       const std::filesystem::path& name) {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    std::filesystem::path path = root / "hicolor" / folder / "apps" / name;
    path += ".png";
    return path;
}

bool isThemeIconName(const std::string& name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F;
    });
}

} // namespace orvu
