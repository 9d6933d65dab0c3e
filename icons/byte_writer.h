#pragma once

#include <cstdint>
#include <vector>

namespace orvu {

// Appends little-endian numbers to bytes being written, as file formats of
// Windows store them.
inline void appendU16(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void appendU32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    appendU16(bytes, value & 0xFFFF);
    appendU16(bytes, value >> 16);
}

} // namespace orvu
