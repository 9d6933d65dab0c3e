#pragma once

#include <filesystem>
#include <optional>

namespace orvu {

// What an icon is saved as: the whole icon, every image as stored (.ico);
// one image at its natural size with its alpha (.png); the tile's cell drawn
// on the preview's background (.bmp). A cursor is saved whole as a .cur, an
// animated cursor as an .ani.
enum class SaveFormat { Ico, Png, Bmp, Cur, Ani };

// The format a file name's extension names (.ico, .png, .bmp, .cur, .ani in
// any case).
std::optional<SaveFormat> formatOfName(const std::filesystem::path& name);
// ".ico", ".png", ".bmp", ".cur" or ".ani".
const char* extensionOf(SaveFormat format);

// Where and how an icon is saved.
struct SaveTarget {
    std::filesystem::path path;
    SaveFormat format = SaveFormat::Ico;
};

// In the format the name's extension names; a name without one of those
// gets the chosen format's extension.
SaveTarget saveTarget(const std::filesystem::path& chosen, SaveFormat chosenFormat);

} // namespace orvu
