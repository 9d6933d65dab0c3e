#pragma once

#include "icons/icon_library.h"
#include "icons/result.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace orvu {

// The sizes of the fixed-size folders of a freedesktop.org icon theme that
// an application's icon set fills.
inline constexpr std::array<int, 7> ThemeSizes{16, 24, 32, 48, 64, 128, 256};

// One picture of an icon set: size x size pixels as PNG.
struct ThemePicture {
    int size = 0;
    std::vector<std::uint8_t> png;
};

// Icon k as an application's icon set: for each of ThemeSizes up to the
// largest side of the images the file holds, the picture Windows shows at
// that size (the image it chooses, scaled where it has another size), with
// its transparency as an alpha channel rather than drawn on a background
// (see withAlphaChannel). Fails where Windows would show no picture, or the
// file holds none of the icon's images.
Result<std::vector<ThemePicture>> themePictures(IconLibrary& library, std::uint32_t k);

// Where the picture of `size` of the icon named `name` goes in the theme
// folder `root` (~/.local/share/icons, /usr/share/icons):
// root/hicolor/<size>x<size>/apps/<name>.png.
std::filesystem::path themePicturePath(const std::filesystem::path& root, int size,
                                       const std::filesystem::path& name);

// Whether `name` can name an icon in a theme: not empty, no folder
// separator, not "." or "..", no control character.
bool isThemeIconName(const std::string& name);

} // namespace orvu
