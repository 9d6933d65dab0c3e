#pragma once

#include <QFont>

namespace orvu {

// The windows' 9-point face: a CJK face in which a double-byte character is
// 12 pixels and a single-byte character 6 pixels wide, so that labels sized
// to their text have the widths of the design. 宋体 where it exists,
// otherwise a monospaced CJK face of the same metrics.
QFont designFont();

} // namespace orvu
