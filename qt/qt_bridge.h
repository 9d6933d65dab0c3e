#pragma once

#include "icons/icon_bitmap.h"
#include "icons/icon_drawing.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace orvu {

// Where the standard-library core meets Qt: paths, text and pictures.

// A path typed or chosen in the user interface, as the file system names it.
std::filesystem::path toPath(const QString& text);
// A path as the user interface shows it.
QString toDisplay(const std::filesystem::path& path);
QString fromUtf8(const std::string& text);

// An opaque RGB32 picture of the surface.
QImage toQImage(const Surface& surface);
// A decoded image with its alpha channel.
QImage toQImage(const IconBitmap& bitmap);
// The bytes of a file written in memory (a PNG, an .ico).
QByteArray toByteArray(const std::vector<std::uint8_t>& bytes);

} // namespace orvu
