#pragma once

#include "icons/icon_drawing.h"

#include <QImage>
#include <QString>
#include <filesystem>

namespace orvu {

// Where the standard-library core meets Qt: paths, text and pictures.

// A path typed or chosen in the user interface, as the file system names it.
std::filesystem::path toPath(const QString& text);
// A path as the user interface shows it.
QString toDisplay(const std::filesystem::path& path);
QString fromUtf8(const std::string& text);

// An opaque RGB32 picture of the surface.
QImage toQImage(const Surface& surface);
// The surface that a picture shows (alpha dropped).
Surface toSurface(const QImage& image);

} // namespace orvu
