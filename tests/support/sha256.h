#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvu::test {

// The SHA-256 of the bytes as 64 lower-case hex digits.
std::string sha256Hex(const std::vector<std::uint8_t>& bytes);

} // namespace orvu::test
